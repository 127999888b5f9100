#pragma once

#include "mainwin/SerialPortModel.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace tz4 {
class SerialPortChoice;
} // namespace tz4

namespace tz4::gui {

// Measurement > Serial Port: the serial ports of the computer to pick from, or a device path
// to type, and which port is in use now. OK hands the choice to SerialPortChoice; a choice it
// does not take (busy instrument, a missing device the operator does not want) keeps the
// dialog open.
class SerialPortDialog final : public QDialog {
    Q_OBJECT

public:
    SerialPortDialog(SerialPortChoice& choice, SerialPortModel::Lister list = listSerialPorts,
                     QWidget* parent = nullptr);

    QTableView* portTable() const { return table_; }
    QLineEdit* devicePath() const { return path_; }
    QPushButton* refreshButton() const { return refresh_; }
    QLabel* currentNote() const { return note_; }
    QLabel* emptyNote() const { return empty_; }
    const SerialPortModel& model() const { return model_; }

    void accept() override;

private:
    void refresh();
    void takeSelectedRow();

    SerialPortChoice& choice_;
    SerialPortModel model_;
    QTableView* table_ = nullptr;
    QLabel* empty_ = nullptr;
    QLineEdit* path_ = nullptr;
    QPushButton* refresh_ = nullptr;
    QLabel* note_ = nullptr;
    bool filling_ = false;
};

} // namespace tz4::gui
