#include "Kiroku.h"

#include "KirokuTexts.h"
#include "KirokuWindow.h"

#include <QMenu>
#include <QScreen>
#include <algorithm>

namespace {

// Where a window of `size` goes beside `main`: to its right where the screen
// has room, else to its left, else as far right as the screen allows; level
// with its top, and on the screen.
QPoint besideOf(const QRect& main, const QSize& size, const QRect& screen) {
    int x = main.right() + 1 + Kiroku::BesideGap;
    if (x + size.width() > screen.right() + 1) {
        const int left = main.left() - Kiroku::BesideGap - size.width();
        x = left >= screen.left() ? left : screen.right() + 1 - size.width();
    }
    const int y = std::min(main.top(), screen.bottom() + 1 - size.height());
    return {std::max(x, screen.left()), std::max(y, screen.top())};
}

} // namespace

Kiroku::Kiroku() = default;
Kiroku::~Kiroku() = default;

void Kiroku::offerOn(QWidget* display) {
    display->setContextMenuPolicy(Qt::CustomContextMenu);
    // The context-menu key reaches only the widget with the keyboard focus.
    display->setFocusPolicy(Qt::StrongFocus);
    QObject::connect(display, &QWidget::customContextMenuRequested, display,
                     [this, display](const QPoint& at) {
                         auto* menu = new QMenu(display);
                         menu->setAttribute(Qt::WA_DeleteOnClose);
                         menu->addAction(KirokuTexts::title(), display,
                                         [this, display] { show(display->window()); });
                         menu->popup(display->mapToGlobal(at));
                     });
}

void Kiroku::passage(std::chrono::nanoseconds seenAt, std::optional<int> shownTenths) {
    m_series.passage(seenAt, shownTenths);
    if (m_window)
        m_window->passageAdded();
}

void Kiroku::gap() {
    m_series.gap();
}

void Kiroku::show(QWidget* mainWindow) {
    if (!m_window)
        m_window = std::make_unique<KirokuWindow>(m_series);
    if (m_window->isHidden()) {
        const QScreen* screen = mainWindow->screen();
        const QRect area = screen ? screen->availableGeometry() : QRect(QPoint(), m_window->size());
        m_window->move(
            besideOf(mainWindow->frameGeometry(), m_window->frameGeometry().size(), area));
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
