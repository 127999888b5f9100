#include "gui/mainwin/SerialPortDialog.h"

#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/PortChoice.h"
#include "mainwin/SerialPortChoice.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QVBoxLayout>

namespace tz4::gui {

namespace {

// A caption's text as a screen reader says it: without its "&" mnemonic or "(&X)".
QString spoken(const QString& caption)
{
    QString text = caption;
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    text.remove(QLatin1Char('&'));
    if (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text.trimmed();
}

} // namespace

SerialPortDialog::SerialPortDialog(SerialPortChoice& choice, SerialPortModel::Lister list, QWidget* parent)
    : QDialog(parent), choice_(choice), model_(std::move(list))
{
    setObjectName(QStringLiteral("SerialPortDialog"));
    setWindowTitle(GetRes(msg::SerialPortTitle));

    auto* heading = new QLabel(GetRes(msg::SerialPortsOfComputer), this);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("portTable"));
    table_->setAccessibleName(spoken(heading->text()));
    table_->setModel(&model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    heading->setBuddy(table_);
    empty_ = new QLabel(GetRes(msg::NoSerialPorts), this);
    empty_->setObjectName(QStringLiteral("noPortsNote"));

    auto* pathLabel = new QLabel(GetRes(msg::SerialPortDevicePath), this);
    path_ = new QLineEdit(chosenSerialDevice(), this);
    path_->setObjectName(QStringLiteral("devicePath"));
    path_->setAccessibleName(spoken(pathLabel->text()));
    path_->setPlaceholderText(GetRes(msg::SerialPortPathHint, {choice_.settingsFilePort()}));
    path_->setClearButtonEnabled(true);
    pathLabel->setBuddy(path_);
    refresh_ = new QPushButton(GetRes(msg::SerialPortRefresh), this);
    refresh_->setObjectName(QStringLiteral("refreshButton"));
    refresh_->setAccessibleName(spoken(refresh_->text()));
    refresh_->setAutoDefault(false);

    note_ = new QLabel(choice_.currentNote(), this);
    note_->setObjectName(QStringLiteral("currentNote"));
    note_->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(pathLabel);
    pathRow->addWidget(path_, 1);
    pathRow->addWidget(refresh_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(table_, 1);
    layout->addWidget(empty_);
    layout->addLayout(pathRow);
    layout->addWidget(note_);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(refresh_, &QPushButton::clicked, this, &SerialPortDialog::refresh);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &SerialPortDialog::takeSelectedRow);
    connect(table_, &QTableView::doubleClicked, this, [this] {
        takeSelectedRow();
        accept();
    });
    refresh();
    resize(sizeHint().expandedTo(QSize(560, 320)));
}

void SerialPortDialog::refresh()
{
    const QString typed = path_->text();
    model_.refresh();
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setStretchLastSection(true);
    empty_->setVisible(model_.ports().isEmpty());
    // The port in use stands selected, unless the operator typed another.
    const QString device = typed.isEmpty() ? choice_.currentDevice() : typed;
    const int row = model_.rowOf(device);
    // Showing the port in use is no choice: the typed path stays as it was.
    filling_ = true;
    if (row >= 0)
        table_->selectRow(row);
    else
        table_->clearSelection();
    filling_ = false;
}

void SerialPortDialog::takeSelectedRow()
{
    if (filling_)
        return;
    const QModelIndexList rows = table_->selectionModel()->selectedRows(SerialPortModel::Device);
    if (!rows.isEmpty())
        path_->setText(rows.first().data().toString());
}

void SerialPortDialog::accept()
{
    switch (choice_.choose(path_->text())) {
    case SerialPortChoice::Outcome::Applied:
    case SerialPortChoice::Outcome::Remembered:
        QDialog::accept();
        return;
    case SerialPortChoice::Outcome::Kept:
    case SerialPortChoice::Outcome::Refused:
        path_->setFocus();
        return;
    }
}

} // namespace tz4::gui
