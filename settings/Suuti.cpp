#include "Suuti.h"

#include "CustomizationReader.h"
#include "SuutiTexts.h"
#include "core/ColorTable.h"

#include <QFile>
#include <QFileInfo>

namespace {

void setDefaults(ProgramValues& v) {
    v.TextColor = ColorTable::BuiltInText;
    v.BackColor = ColorTable::BuiltInBack;
    v.Sensitivity = 50;
    v.PortNo = 1;
    v.KeepRecord = false;
    v.SampleCommand.fill(char(PerixProtocol::SampleLight), 1);
}

// Only a plain file counts: a pipe or a device of that name could keep the
// start-up waiting or reading for ever.
bool openCustomizationFile(QFile& file) {
    return QFileInfo(file).isFile() && file.open(QIODevice::ReadOnly);
}

} // namespace

Suuti::Suuti(ProgramValues& values, ShowNotice showOnLabel1)
    : v(values), m_showOnLabel1(std::move(showOnLabel1)) {}

void Suuti::SuutiInit() {
    setDefaults(v);
    QFile file(SuutiTexts::fileName());
    if (openCustomizationFile(file)) {
        m_showOnLabel1(SuutiTexts::reading());
        readCustomization(file, v);
        file.close();
    } else {
        m_showOnLabel1(SuutiTexts::fileMissing());
    }
    m_showOnLabel1(SuutiTexts::finished());
}
