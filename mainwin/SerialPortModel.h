#pragma once

#include "instrument/SerialPorts.h"

#include <QAbstractTableModel>
#include <QList>

#include <functional>

namespace tz4 {

// The serial ports of the computer as a table: device, description, manufacturer and USB
// vendor:product, headed in the interface's language.
class SerialPortModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Device, Description, Manufacturer, UsbId, ColumnCount };
    using Lister = std::function<QList<SerialPortEntry>()>;

    // `list` enumerates the ports; the system's by default.
    explicit SerialPortModel(Lister list = listSerialPorts, QObject* parent = nullptr);

    // Asks the system again (an adapter plugged in or out).
    void refresh();
    const QList<SerialPortEntry>& ports() const { return ports_; }
    // The row of `device`, or -1.
    int rowOf(const QString& device) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    Lister list_;
    QList<SerialPortEntry> ports_;
};

} // namespace tz4
