#pragma once

#include <QString>

class MessageBoxes;
class PassageRecord;
class QWidget;

// What the main window shows of the lesson's record: "記録中" in its title
// while the record is written, and a box, once, when it cannot be started or
// cannot go on.
class RecordSigns {
public:
    // `folder` is where the record's files go, for the box to name.
    RecordSigns(QWidget& window, MessageBoxes& boxes, QString folder);

    // After the record was asked for, and after each time it wrote: `record`
    // is the record of the run, nothing when it could not start.
    void follow(const PassageRecord* record);

private:
    QWidget& m_window;
    MessageBoxes& m_boxes;
    QString m_folder;
    bool m_told = false;
};
