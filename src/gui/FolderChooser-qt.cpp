#include "FolderChooser.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>

namespace sentravex {
namespace {

// A grid takes no row inserted above its first: every item moves one row down.
void placeOnTop(QGridLayout& grid, QWidget* widget) {
    struct Placed {
        QLayoutItem* item;
        int row, column, rows, columns;
    };
    const int width = grid.columnCount();
    QList<Placed> placed;
    while (grid.count() > 0) {
        Placed p{};
        grid.getItemPosition(0, &p.row, &p.column, &p.rows, &p.columns);
        p.item = grid.takeAt(0);
        placed.append(p);
    }
    grid.addWidget(widget, 0, 0, 1, width);
    for (const auto& p : placed)
        grid.addItem(p.item, p.row + 1, p.column, p.rows, p.columns);
}

} // namespace

// The toolkit's own dialog: a platform one may show neither the message nor the prompt.
std::optional<QString> chooseFolder(const OpenPanelSettings& settings, const QString& startAt) {
    const QString message = QString::fromStdString(settings.message);
    QFileDialog panel(nullptr, message, startAt);
    panel.setOption(QFileDialog::DontUseNativeDialog);
    panel.setFileMode(settings.canChooseDirectories && !settings.canChooseFiles
                          ? QFileDialog::Directory
                          : QFileDialog::ExistingFile);
    panel.setOption(QFileDialog::ShowDirsOnly, !settings.canChooseFiles);
    panel.setLabelText(QFileDialog::Accept, QString::fromStdString(settings.prompt));
    panel.setWindowModality(Qt::ApplicationModal);
    // A window title alone is easily missed, and some desktops show none: the message also heads
    // the dialog's own content.
    if (auto* grid = qobject_cast<QGridLayout*>(panel.layout())) {
        auto* label = new QLabel(message);
        label->setObjectName(QStringLiteral("openPanelMessage"));
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        placeOnTop(*grid, label);
    }
    if (panel.exec() != QDialog::Accepted)
        return std::nullopt;
    const auto chosen = panel.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.front();
}

} // namespace sentravex
