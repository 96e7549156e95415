#include "ThreatTableModel.h"

#include "PlainText.h"
#include "QtColor.h"
#include "ViewController.h"
#include "view/ThreatTable.h"

#include <QPainter>
#include <QPixmap>

namespace sentravex {
namespace {

struct Column {
    const char* identifier;
    const char* title;
};
constexpr Column columns[] = {
    {"ThreatName", "Threat"},
    {"ActionPerformed", "Action"},
    {"PathInfo", "Location"},
};

} // namespace

int ThreatTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : vc_.numberOfRowsInTableView();
}

int ThreatTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(std::size(columns));
}

QVariant ThreatTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return vc_.threatCellText(columns[index.column()].identifier, index.row());
    if (role == Qt::ToolTipRole)
        return plainToolTip(vc_.threatCellText(columns[index.column()].identifier, index.row()));
    // A row the removal left behind stands out from the removed ones: red, with a mark.
    const bool left =
        threatRowNotRemoved(vc_.threatCellText(columns[1].identifier, index.row()).toStdString());
    if (left && role == Qt::ForegroundRole)
        return toQColor(colors::alertRed);
    if (left && role == Qt::DecorationRole && index.column() == 1)
        return notRemovedIcon();
    return {};
}

QIcon ThreatTableModel::notRemovedIcon() const {
    if (notRemovedIcon_.isNull()) {
        QPixmap mark(16, 16);
        mark.fill(Qt::transparent);
        QPainter p(&mark);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(toQColor(colors::alertRed));
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 10.5));
        p.drawLine(QPointF(10.5, 5.5), QPointF(5.5, 10.5));
        p.end();
        notRemovedIcon_ = QIcon(mark);
    }
    return notRemovedIcon_;
}

QVariant ThreatTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnCount())
        return {};
    return QString::fromLatin1(columns[section].title);
}

void ThreatTableModel::reloadData() {
    beginResetModel();
    endResetModel();
}

} // namespace sentravex
