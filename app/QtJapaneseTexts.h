#pragma once

class QCoreApplication;

// Qt's own texts (the standard buttons はい, いいえ, OK of the message boxes) in
// Japanese, whatever the machine's language and whether or not Qt's
// translations are installed: the program carries them in its resources
// (tolvane_resources). False when the program was linked without them; the
// buttons then stay in English.
bool installJapaneseQtTexts(QCoreApplication& app);
