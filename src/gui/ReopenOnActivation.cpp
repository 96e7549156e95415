#include "ReopenOnActivation.h"

#include "AppDelegate.h"

#include <QApplication>
#include <QWidget>
#include <algorithm>

namespace sentravex {

void reopenOnActivation(AppDelegate& appDel, QWidget& window) {
    QObject::connect(qApp, &QGuiApplication::applicationStateChanged, &window,
                     [&appDel, &window](Qt::ApplicationState state) {
                         if (state != Qt::ApplicationActive)
                             return;
                         const auto shown = QApplication::topLevelWidgets();
                         const bool anyVisible =
                             std::any_of(shown.begin(), shown.end(),
                                         [](const QWidget* w) { return w->isVisible(); });
                         if (!anyVisible)
                             appDel.applicationShouldHandleReopen(&window, false);
                     });
}

} // namespace sentravex
