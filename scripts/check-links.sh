#!/usr/bin/env bash
# Every relative link and image in README.md and docs/*.md must lead to a file
# or folder that exists, so that a page moved or renamed cannot leave a reader
# at a dead end. Web addresses and links within a page (#...) are not checked;
# fenced code blocks are skipped. Prints each broken link; fails if any.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
broken=0
for page in "$root/README.md" "$root"/docs/*.md; do
    dir="$(dirname "$page")"
    # The targets of [text](target) and ![alt](target "title"), one per line,
    # with the line they are on. A link's text may span lines; its target never does.
    while IFS=: read -r line target; do
        case "$target" in
            http://* | https://* | mailto:* | '#'*) continue ;;
        esac
        file="${target%%#*}"
        if [ ! -e "$dir/$file" ]; then
            echo "${page#"$root"/}:$line: broken link: $target" >&2
            broken=1
        fi
    done < <(awk '/^[ \t]*```/ { fenced = !fenced; next }
                  !fenced {
                      s = $0
                      while (match(s, /\]\([^) \t]+/)) {
                          print FNR ":" substr(s, RSTART + 2, RLENGTH - 2)
                          s = substr(s, RSTART + RLENGTH)
                      }
                  }' "$page")
done
if [ "$broken" -ne 0 ]; then
    echo "Broken links in README.md or docs/ (above)." >&2
    exit 1
fi
echo "Links in README.md and docs/: all lead to files that exist."
