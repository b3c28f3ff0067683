// libFuzzer target for the customization-file reader and SuutiSub. Each input
// is read twice, by the program's reader in pieces and by a plain whole-file
// model written here from the file's rules; any difference aborts.
//
// Input: the first byte picks how many bytes each read hands over; the rest is
// the file, where 0x01 followed by two length bytes and a byte stands for a
// run of that byte, so long lines and values near the 32,767 limit are cheap
// to reach.

#include "core/ColorTable.h"
#include "settings/CustomizationReader.h"
#include "settings/SuutiSub.h"
#include "support/ChunkedDevice.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Room for a line well past the longest value text, yet quick to run.
constexpr std::size_t LongestFile = 40000;

struct Settings {
    ColorValue text = ColorTable::entry(0);
    ColorValue back = ColorTable::entry(7);
    long port = 1;
    long kando = 50;
    bool record = false;
    bool operator==(const Settings&) const = default;
};

std::string expand(const std::uint8_t* data, std::size_t size) {
    std::string file;
    for (std::size_t i = 0; i < size && file.size() < LongestFile; ++i) {
        if (data[i] == 0x01 && i + 3 < size) {
            const std::size_t length = std::size_t(data[i + 1]) << 8 | data[i + 2];
            file.append(std::min(length, LongestFile - file.size()), char(data[i + 3]));
            i += 3;
        } else {
            file.push_back(char(data[i]));
        }
    }
    return file;
}

// The number reader as the rules state it: a 1-based 16-bit position, then
// a leading-number read of what was collected.
std::optional<long> modelSuutiSub(const std::string& text) {
    if (text.size() > 32767)
        return std::nullopt;
    std::string collected;
    for (long position = 1; position <= long(text.size()); ++position) {
        const char c = text[std::size_t(position - 1)];
        if (!((c >= '0' && c <= '9') || c == '-'))
            break;
        collected.push_back(c);
        if (position == 32767) // the count cannot go on to 32,768
            return std::nullopt;
    }
    errno = 0;
    const long long n = std::strtoll(collected.c_str(), nullptr, 10);
    if (errno == ERANGE || n < -32768 || n > 32767)
        return std::nullopt;
    return long(n);
}

std::vector<std::string> modelLines(std::string file) {
    if (file.rfind("\xEF\xBB\xBF", 0) == 0)
        file.erase(0, 3);
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < file.size(); ++i) {
        const char c = file[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < file.size() && file[i + 1] == '\n')
                ++i;
        } else {
            line.push_back(c);
        }
    }
    if (!file.empty() && file.back() != '\r' && file.back() != '\n')
        lines.push_back(line);
    return lines;
}

Settings modelRead(const std::string& file) {
    Settings s;
    for (std::string line : modelLines(file)) {
        line.erase(0, line.find_first_not_of(' ') == std::string::npos
                          ? line.size()
                          : line.find_first_not_of(' '));
        for (char& c : line)
            if (c >= 'a' && c <= 'z')
                c = char(c - 'a' + 'A');
        auto value = [&](std::size_t keyLength) { return modelSuutiSub(line.substr(keyLength)); };
        if (line.rfind('\'', 0) == 0)
            continue;
        if (line.rfind("MOZI=", 0) == 0 || line.rfind("BACK=", 0) == 0) {
            const auto n = value(5);
            if (!n || *n < 0 || *n > 15)
                break;
            (line[0] == 'M' ? s.text : s.back) = ColorTable::entry(int(*n));
        } else if (line.rfind("PORT=", 0) == 0) {
            const auto n = value(5);
            if (!n)
                break;
            s.port = *n;
        } else if (line.rfind("KANDO=", 0) == 0) {
            const auto n = value(6);
            if (!n)
                break;
            if (*n >= 1 && *n <= 254)
                s.kando = *n;
        } else if (line.rfind("KIROKU=", 0) == 0) {
            const auto n = value(7);
            if (!n)
                break;
            if (*n == 0 || *n == 1)
                s.record = *n == 1;
        }
    }
    return s;
}

[[noreturn]] void differ(const char* what) {
    std::fprintf(stderr, "reader and model differ: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string file = expand(data + 1, size - 1);
    // Tiny reads for short files, where every cut can be tried; larger ones
    // for long files, which would otherwise take most of the time.
    qint64 chunk = data[0] < 0xF0 ? 1 + data[0] % 17 : 64 * 1024;
    if (file.size() > 4096)
        chunk *= 1021;
    const QByteArray bytes(file.data(), qsizetype(file.size()));

    // SuutiSub on the whole input as a value text.
    const auto got = SuutiSub(bytes);
    const auto want = modelSuutiSub(file);
    if (got.has_value() != want.has_value() || (got && long(*got) != *want))
        differ("SuutiSub");

    ProgramValues v;
    ChunkedDevice device(bytes, chunk);
    readCustomization(device, v);
    const Settings model = modelRead(file);
    if (v.TextColor != model.text || v.BackColor != model.back)
        differ("colours");
    if (long(v.PortNo) != model.port)
        differ("port");
    if (long(v.Sensitivity) != model.kando)
        differ("sensitivity");
    if (v.KeepRecord != model.record)
        differ("record");
    if (v.SampleCommand != QByteArray(1, char(242)))
        differ("sample command");
    return 0;
}
