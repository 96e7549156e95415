#pragma once

#include <QAbstractTableModel>
#include <QIcon>

namespace sentravex {

class ViewController;

// The threat table's rows, read from the controller's three column arrays; rows a removal
// left behind are drawn apart.
class ThreatTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ThreatTableModel(const ViewController& controller, QObject* parent = nullptr)
        : QAbstractTableModel(parent), vc_(controller) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void reloadData();

private:
    QIcon notRemovedIcon() const;

    const ViewController& vc_;
    mutable QIcon notRemovedIcon_;
};

} // namespace sentravex
