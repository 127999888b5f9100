#include "gui/print/PrintWindow.h"
#include "gui/print/PagePreview.h"
#include "gui/print/TemplateGridView.h"

#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/RecordParameters.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/SystemParam.h"
#include "core/Tz4Error.h"
#include "data/Tz4DataSet.h"
#include "graph/PlotFile.h"
#include "print/PrintControl.h"
#include "print/PrintGridModel.h"
#include "print/ReportFile.h"

#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSlider>
#include <QSplitter>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <cmath>

namespace tz4::gui {

namespace {

constexpr double kZoomStep = 1.25;
// The zoom slider in per cent of the page's true size.
constexpr int kMinZoomPercent = 10;
constexpr int kMaxZoomPercent = 800;
// A file name keeps letters, digits and a few marks; the rest becomes "_".
const QString UnsafeInFileName = QStringLiteral("[^\\w .,()'-]");

QAction* namedAction(QMenu* menu, const QString& name, int textId)
{
    QAction* action = menu->addAction(GetRes(textId));
    action->setObjectName(name);
    return action;
}

PageDevice deviceOf(const QPrinter& printer)
{
    PageDevice device;
    device.name = printer.outputFormat() == QPrinter::PdfFormat ? QStringLiteral("PDF") : printer.printerName();
    const QPageLayout layout = printer.pageLayout();
    device.paperMM = layout.fullRect(QPageLayout::Millimeter).size();
    device.printableMM = layout.paintRect(QPageLayout::Millimeter);
    return device;
}

} // namespace

PrintWindow::PrintWindow(const QString& databasePath, const QStringList& keys, qint32 templateNo, QWidget* parent)
    : QWidget(parent), control_(std::make_unique<PrintControl>(databasePath))
{
    EnterProcedure here("frmPrint:Form_Load");
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmPrint"));
    printDialog_ = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
    hasPrinter_ = [] { return !QPrinterInfo::availablePrinters().isEmpty(); };

    for (const QString& key : control_->SetUpGraph(keys))
        showCatalogMessage(msg::NoSuchRecord, msg::TabData, MessageIcon::Exclamation, MessageButtons::Ok, {key});
    if (hasRecords()) {
        const TemplateChoice choice = control_->SetUpTemplate(templateNo);
        if (choice.wrongKind)
            showCatalogMessage(msg::WrongTemplate, msg::MissMatchType, MessageIcon::Information);
        if (choice.seqNo < 0)
            showCatalogMessage(msg::NoTemplate, msg::TemplateNone, MessageIcon::Critical);
        control_->page().setDevice(deviceOf(printer()));
    }

    const bool editable = SystemParam().EditablePrint;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    menuBar_ = new QMenuBar(this);
    menuBar_->setNativeMenuBar(false);
    layout->setMenuBar(menuBar_);
    buildMenus();
    layout->addWidget(buildViews(editable));

    connect(control_.get(), &PrintControl::pageChanged, this, &PrintWindow::showProblems);
    connect(control_.get(), &PrintControl::templateChanged, this, &PrintWindow::updateCaption);
    showProblems();
    updateCaption();
    resize(editable ? 1000 : 720, 760);
}

PrintWindow::~PrintWindow() = default;

bool PrintWindow::hasRecords() const
{
    return control_->records().Count() > 0;
}

QList<QMenu*> PrintWindow::menus() const
{
    return {fileMenu_, printMenu_, displayMenu_};
}

void PrintWindow::setMenusInFrame(bool inFrame) { menuBar_->setVisible(!inFrame); }

void PrintWindow::buildMenus()
{
    fileMenu_ = menuBar_->addMenu(GetRes(msg::MenuFile));
    fileMenu_->setObjectName(QStringLiteral("mnuFile"));
    QAction* close = namedAction(fileMenu_, QStringLiteral("mnuFileClose"), msg::MenuFileClose);
    close->setShortcut(QKeySequence::Close);
    connect(close, &QAction::triggered, this, &PrintWindow::closeWindow);

    printMenu_ = menuBar_->addMenu(GetRes(msg::PrintMenu));
    printMenu_->setObjectName(QStringLiteral("mnuPrint"));
    QAction* check = namedAction(printMenu_, QStringLiteral("mnuPrintSetting"), msg::PrintMenuCheckPrinter);
    connect(check, &QAction::triggered, this, &PrintWindow::GetPrintType);
    printMenu_->addSeparator();
    QAction* print = namedAction(printMenu_, QStringLiteral("mnuPrintPage"), msg::PrintMenuPrintPage);
    print->setShortcut(QKeySequence::Print);
    connect(print, &QAction::triggered, this, &PrintWindow::printPage);

    displayMenu_ = menuBar_->addMenu(GetRes(msg::MenuDisplay));
    displayMenu_->setObjectName(QStringLiteral("mnuDisp"));
    QAction* in = namedAction(displayMenu_, QStringLiteral("mnuZoomIn"), msg::PrintZoomIn);
    in->setShortcut(QKeySequence::ZoomIn);
    connect(in, &QAction::triggered, this, &PrintWindow::zoomIn);
    QAction* out = namedAction(displayMenu_, QStringLiteral("mnuZoomOut"), msg::PrintZoomOut);
    out->setShortcut(QKeySequence::ZoomOut);
    connect(out, &QAction::triggered, this, &PrintWindow::zoomOut);
    QAction* whole = namedAction(displayMenu_, QStringLiteral("mnuWholePage"), msg::PrintWholePage);
    connect(whole, &QAction::triggered, this, &PrintWindow::wholePage);

    labelPopup_ = new QMenu(this);
    labelPopup_->setObjectName(QStringLiteral("mnuLabelPopup"));
    QAction* remove = namedAction(labelPopup_, QStringLiteral("mnuDeleteLabel"), msg::PrintPopupDeleteLabel);
    connect(remove, &QAction::triggered, control_.get(), &PrintControl::DeleteSelectedLabel);
}

QWidget* PrintWindow::buildViews(bool editable)
{
    preview_ = new PagePreview(*control_, this);
    preview_->setObjectName(QStringLiteral("PagePreview"));
    preview_->setAccessibleName(GetRes(msg::PrintPagePreview));
    preview_->setEditable(editable);
    connect(preview_, &PagePreview::labelMenuRequested, this, [this](const QPoint& at) { labelPopup_->popup(at); });

    previewArea_ = new QScrollArea(this);
    previewArea_->setWidget(preview_);
    previewArea_->setAlignment(Qt::AlignCenter);
    previewArea_->setBackgroundRole(QPalette::Dark);

    // As the page's vertical bar: up makes the page larger.
    zoom_ = new QSlider(Qt::Vertical, this);
    zoom_->setObjectName(QStringLiteral("Zoom"));
    zoom_->setAccessibleName(GetRes(msg::PrintZoom));
    zoom_->setRange(kMinZoomPercent, kMaxZoomPercent);
    zoom_->setValue(int(std::lround(preview_->zoom() * 100)));
    connect(zoom_, &QSlider::valueChanged, this, [this](int percent) {
        preview_->setZoom(percent / 100.0);
        // A zoom the user chose stays when the window changes size.
        if (!fitting_)
            followSize_ = false;
    });
    previewArea_->viewport()->installEventFilter(this);

    problems_ = new QLabel(this);
    problems_->setObjectName(QStringLiteral("Problems"));
    problems_->setWordWrap(true);
    problems_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* pageBox = new QWidget(this);
    auto* pageLayout = new QVBoxLayout(pageBox);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    row->addWidget(previewArea_, 1);
    row->addWidget(zoom_);
    pageLayout->addLayout(row, 1);
    pageLayout->addWidget(problems_);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->setObjectName(QStringLiteral("PrintSplit"));
    split->addWidget(pageBox);
    if (editable) {
        gridModel_ = std::make_unique<PrintGridModel>(*control_);
        grid_ = new TemplateGridView(*gridModel_, this);
        split->addWidget(grid_);
        split->setStretchFactor(0, 1);
        split->setStretchFactor(1, 0);
        split->setSizes({620, 360});
    }
    return split;
}

bool PrintWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Until the user zooms, the whole page stays in sight as the window changes size.
    if (watched == previewArea_->viewport() && event->type() == QEvent::Resize && followSize_)
        fitWholePage();
    return QWidget::eventFilter(watched, event);
}

void PrintWindow::showProblems()
{
    const QStringList problems = control_->page().problems();
    QString text = problems.join(QLatin1Char('\n'));
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    problems_->setText(text);
    problems_->setVisible(!problems.isEmpty());
}

void PrintWindow::updateCaption()
{
    setWindowTitle(GetRes(msg::PrintWindowTitle, {control_->templ().TemplateName}));
}

void PrintWindow::closeWindow()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void PrintWindow::zoomIn()
{
    zoom_->setValue(int(std::lround(preview_->zoom() * kZoomStep * 100)));
}

void PrintWindow::zoomOut()
{
    zoom_->setValue(int(std::lround(preview_->zoom() / kZoomStep * 100)));
}

void PrintWindow::wholePage()
{
    followSize_ = true;
    fitWholePage();
}

void PrintWindow::fitWholePage()
{
    const QSize room = previewArea_->viewport()->size() - QSize(8, 8);
    const QSize page = preview_->sizeHint() / preview_->zoom();
    if (page.isEmpty() || room.isEmpty())
        return;
    const double fit = std::min(double(room.width()) / page.width(), double(room.height()) / page.height());
    fitting_ = true;
    zoom_->setValue(std::max(kMinZoomPercent, int(fit * 100)));
    fitting_ = false;
}

QPrinter& PrintWindow::printer()
{
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // Without any printer the page goes into a PDF file.
        if (!hasPrinter_() || printer_->printerName().isEmpty()) {
            printer_->setOutputFormat(QPrinter::PdfFormat);
            printer_->setPageSize(QPageSize(QPageSize::A4));
            QString name;
            if (const clsTz4DataSet* record = control_->selected())
                name = record->Parameters(param::SampleName).toString();
            name.replace(QRegularExpression(UnsafeInFileName), QStringLiteral("_"));
            const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
            printer_->setOutputFileName(QDir(folder).filePath((name.isEmpty() ? QStringLiteral("report") : name)
                                                              + QStringLiteral(".pdf")));
        }
    }
    return *printer_;
}

void PrintWindow::usePrinterPaper()
{
    control_->page().setDevice(deviceOf(printer()));
    control_->changed(PrintPage::All);
}

void PrintWindow::GetPrintType()
{
    EnterProcedure here("frmPrint:GetPrintType");
    if (!hasPrinter_()) {
        showCatalogMessage(msg::SetUsualPrinter, msg::PrinterError, MessageIcon::Critical);
        return;
    }
    QPageSetupDialog dialog(&printer(), this);
    if (dialog.exec() == QDialog::Accepted)
        usePrinterPaper();
}

bool PrintWindow::printPage()
{
    EnterProcedure here("frmPrint:mnuPrint_Click");
    QPrinter& device = printer();
    if (!printDialog_(device))
        return false;
    if (device.outputFormat() == QPrinter::NativeFormat && !hasPrinter_()) {
        showCatalogMessage(msg::SetUsualPrinter, msg::PrinterError, MessageIcon::Critical);
        return false;
    }
    usePrinterPaper();
    tz4::PrintPage& page = control_->page();
    page.RefreshBindingCaption();
    if (device.outputFormat() == QPrinter::PdfFormat) {
        // Through a file that appears whole or not at all, unlike the printer's own PDF output.
        const QString file = device.outputFileName();
        try {
            saveWhole(file, renderReportPdf(page, control_->templ().TemplateName));
        } catch (const Tz4Error& error) {
            showCatalogMessage(msg::PageNotWritten, msg::PrinterError, MessageIcon::Critical, MessageButtons::Ok,
                               {file, error.description()});
            return false;
        }
        return true;
    }
    device.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&device)) {
        showCatalogMessage(msg::PageNotWritten, msg::PrinterError, MessageIcon::Critical, MessageButtons::Ok,
                           {device.printerName(), QString()});
        return false;
    }
    page.paint(painter, tz4::PrintPage::Printed);
    painter.end();
    return true;
}

} // namespace tz4::gui
