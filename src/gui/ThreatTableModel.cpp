#include "ThreatTableModel.h"

#include "ViewController.h"

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
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    return vc_.threatCellText(columns[index.column()].identifier, index.row());
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
