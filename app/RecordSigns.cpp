#include "RecordSigns.h"

#include "MainTexts.h"
#include "MessageBoxes.h"
#include "record/PassageRecord.h"
#include "record/RecordTexts.h"

#include <QWidget>

RecordSigns::RecordSigns(QWidget& window, MessageBoxes& boxes, QString folder)
    : m_window(window), m_boxes(boxes), m_folder(std::move(folder)) {}

void RecordSigns::follow(const PassageRecord* record) {
    const bool writing = record && record->writing();
    m_window.setWindowTitle(writing ? MainTexts::recordingTitle() : MainTexts::title());
    if (writing || m_told)
        return;
    m_told = true;
    m_boxes.warnWithoutWaiting(&m_window, MainTexts::title(), RecordTexts::cannotRecord(m_folder));
}
