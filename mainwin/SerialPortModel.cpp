#include "mainwin/SerialPortModel.h"

#include "core/MessageCatalog.h"
#include "core/MessageIds.h"

namespace tz4 {

SerialPortModel::SerialPortModel(Lister list, QObject* parent) : QAbstractTableModel(parent), list_(std::move(list))
{
    refresh();
}

void SerialPortModel::refresh()
{
    beginResetModel();
    ports_ = list_();
    endResetModel();
}

int SerialPortModel::rowOf(const QString& device) const
{
    for (qsizetype row = 0; row < ports_.size(); ++row)
        if (ports_.at(row).device == device)
            return int(row);
    return -1;
}

int SerialPortModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(ports_.size()); }

int SerialPortModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant SerialPortModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= ports_.size() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const SerialPortEntry& port = ports_.at(index.row());
    switch (index.column()) {
    case Device: return port.device;
    case Description: return port.description;
    case Manufacturer: return port.manufacturer;
    case UsbId:
        // The serial number tells two adapters of one kind apart.
        if (role == Qt::ToolTipRole && !port.serialNumber.isEmpty())
            return port.serialNumber;
        return port.usbId();
    }
    return {};
}

QVariant SerialPortModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Device: return GetRes(msg::SerialPortColumnDevice);
    case Description: return GetRes(msg::SerialPortColumnDescription);
    case Manufacturer: return GetRes(msg::SerialPortColumnManufacturer);
    case UsbId: return GetRes(msg::SerialPortColumnUsb);
    }
    return {};
}

} // namespace tz4
