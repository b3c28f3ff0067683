#pragma once

class QCoreApplication;

// Qt's own texts (the standard buttons はい, いいえ, OK of the message boxes) in
// Japanese, whatever the machine's language: from Qt's translations folder,
// else from a "translations" folder beside the program. False when neither
// holds them; the buttons then stay in English.
bool installJapaneseQtTexts(QCoreApplication& app);
