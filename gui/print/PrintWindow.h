#pragma once

#include "gui/widgets/ChildMenus.h"

#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPrinter;
class QScrollArea;
class QSlider;

namespace tz4 {
class PrintControl;
class PrintGridModel;
} // namespace tz4

namespace tz4::gui {

class PagePreview;
class TemplateGridView;

// The print window (frmPrint): the report page of the requested records as a preview with a
// zoom, printed through the platform's print dialog (to a printer or to a PDF file), and with
// editing on ([EDITABLEPRINT]) the property grid through which the template is changed and
// saved, labels selected, dragged, bound and deleted on the preview. It shows what its
// PrintControl holds and turns gestures into calls of it.
class PrintWindow final : public QWidget, public ChildMenus {
    Q_OBJECT

public:
    // `keys`: the records to print (the first one's table and values are printed);
    // `templateNo`: the template to use, negative for the kind's default.
    PrintWindow(const QString& databasePath, const QStringList& keys, qint32 templateNo, QWidget* parent = nullptr);
    ~PrintWindow() override;

    // False when none of the keys named a stored record; the window then has nothing to print.
    bool hasRecords() const;

    PrintControl& control() { return *control_; }
    PagePreview* preview() const { return preview_; }
    QScrollArea* previewArea() const { return previewArea_; }
    QSlider* zoomSlider() const { return zoom_; }
    // Null while editing is off.
    TemplateGridView* grid() const { return grid_; }
    PrintGridModel* gridModel() const { return gridModel_.get(); }
    QMenuBar* menuBar() const { return menuBar_; }
    // The menus the window offers: File, Print and Display; in the frame's bar while active.
    QList<QMenu*> menus() const;
    QList<QMenu*> childMenus() const override { return menus(); }
    void setMenusInFrame(bool inFrame) override;
    QMenu* labelPopup() const { return labelPopup_; }
    // The sentences that say what the page cannot show as the template asks; hidden when none.
    QLabel* problemsLine() const { return problems_; }

    // Replaces the platform's print dialog (tests answer it): shown with the window's printer,
    // true when the user chose to print.
    using PrintDialog = std::function<bool(QPrinter& printer)>;
    void setPrintDialog(PrintDialog dialog) { printDialog_ = std::move(dialog); }
    // Replaces the test whether any printer is installed.
    void setPrinterCheck(std::function<bool()> check) { hasPrinter_ = std::move(check); }

    // Print menu, index 0: a printer must be set up; with one, its page set-up dialog.
    void GetPrintType();
    // Print menu, index 2: the print dialog, then the page on the printer or into the PDF
    // file chosen there. False when nothing was printed.
    bool printPage();

    void zoomIn();
    void zoomOut();
    // The whole page in sight, also when the window changes size later.
    void wholePage();

private:
    void buildMenus();
    QWidget* buildViews(bool editable);
    void showProblems();
    void updateCaption();
    void closeWindow();
    QPrinter& printer();
    void usePrinterPaper();
    void fitWholePage();

    std::unique_ptr<PrintControl> control_;
    std::unique_ptr<PrintGridModel> gridModel_;
    std::unique_ptr<QPrinter> printer_;
    PrintDialog printDialog_;
    std::function<bool()> hasPrinter_;
    QMenuBar* menuBar_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* printMenu_ = nullptr;
    QMenu* displayMenu_ = nullptr;
    QMenu* labelPopup_ = nullptr;
    PagePreview* preview_ = nullptr;
    QScrollArea* previewArea_ = nullptr;
    QSlider* zoom_ = nullptr;
    TemplateGridView* grid_ = nullptr;
    QLabel* problems_ = nullptr;
    // The zoom follows the window's size until the user chooses one.
    bool followSize_ = true;
    bool fitting_ = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace tz4::gui
