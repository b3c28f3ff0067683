#include "Suuti.h"

#include "CustomizationReader.h"
#include "SuutiTexts.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The settings Tv.txt may change, back to the values a fresh run starts with.
void setDefaults(ProgramValues& v) {
    const ProgramValues defaults;
    v.TextColor = defaults.TextColor;
    v.BackColor = defaults.BackColor;
    v.Sensitivity = defaults.Sensitivity;
    v.PortNo = defaults.PortNo;
    v.KeepRecord = defaults.KeepRecord;
    v.SampleCommand.fill(defaults.SampleCommand.at(0), 1);
}

// Only a plain file counts: a pipe or a device of that name could keep the
// start-up waiting or reading for ever.
bool openCustomizationFile(QFile& file) {
    return QFileInfo(file).isFile() && file.open(QIODevice::ReadOnly);
}

} // namespace

Suuti::Suuti(ProgramValues& values, NoticeSink notices)
    : v(values), m_notices(std::move(notices)) {}

void Suuti::SuutiInit() {
    setDefaults(v);
    QFile file(SuutiTexts::fileName());
    if (openCustomizationFile(file)) {
        m_notices.show(SuutiTexts::reading());
        readCustomization(file, v);
        file.close();
    } else {
        m_notices.show(SuutiTexts::fileMissing());
    }
    m_notices.show(SuutiTexts::finished());
}
