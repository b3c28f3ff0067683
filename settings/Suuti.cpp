#include "Suuti.h"

#include "ColorTable.h"
#include "CustomizationReader.h"
#include "SuutiTexts.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>

namespace {

void setDefaults(ProgramValues& v) {
    v.TextColor = ColorTable::entry(0);
    v.BackColor = ColorTable::entry(7);
    v.Sensitivity = 50;
    v.PortNo = 1;
    v.SampleCommand.fill(char(242), 1); // the box's read command for the light sensor
}

// Only a plain file counts: a pipe or a device of that name could keep the
// start-up waiting or reading for ever.
bool openCustomizationFile(QFile& file) {
    return QFileInfo(file).isFile() && file.open(QIODevice::ReadOnly);
}

} // namespace

Suuti::Suuti(ProgramValues& values, QLabel& label)
    : Suuti(values, [&label](const QString& text) { label.setText(text); }) {}

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
