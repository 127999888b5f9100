#pragma once

#include "data/Tz4DataSets.h"
#include "graph/Tz4Graph.h"
#include "graph/Tz4GraphDisps.h"
#include "print/PrintPage.h"
#include "print/PrintTemplate.h"
#include "print/TemplateStore.h"

#include <QObject>
#include <QPointF>
#include <QStringList>

namespace tz4 {

// The print window without its widgets: the records of one print request with their graph,
// the template in use and its page, and every change the window makes to the template. The
// headless report command uses it the same way, so both print the same page.
class PrintControl : public QObject {
    Q_OBJECT

public:
    explicit PrintControl(const QString& databasePath, QObject* parent = nullptr);
    ~PrintControl() override;

    // Loads the stored records named by the keys (kinds W, C, L, D and T) into the graph's
    // collection; the first becomes the selected record, whose kind chooses the template.
    // Returns the keys that name no stored record; those are left out.
    QStringList SetUpGraph(const QStringList& keys);
    // Chooses and loads the template (a negative number asks for the kind's default) and
    // fills the page from the selected record. Without any template to use, a blank one
    // named "New Template" is held, so that one can be designed.
    TemplateChoice SetUpTemplate(qint32 requested);

    const QString& databasePath() const { return databasePath_; }
    clsTz4DataSets& records() { return records_; }
    clsTz4GraphDisps& disps() { return disps_; }
    uclTz4Graph& graph() { return graph_; }
    PrintPage& page() { return page_; }
    PrintTemplate& templ() { return tmpl_; }
    const clsTz4DataSet* selected() const { return page_.selectedRecord(); }
    // TemplateType of the records printed: the selected record's kind.
    int kind() const;

    // Labels.
    clsTz4PrintLabel* selectedLabel() const { return tmpl_.Labels.SelectedItem(); }
    void selectLabel(clsTz4PrintLabel* label);
    // Selects the label under a point of the paper (mm), or none (LabelHitTest).
    clsTz4PrintLabel* selectLabelAt(QPointF mm);
    // Puts the selected label's top-left corner at a point of the paper, to a tenth of a millimetre.
    void moveSelectedLabel(QPointF mm);
    // A new label near the top-left corner of the paper, selected.
    clsTz4PrintLabel* NewLabel();
    void DeleteSelectedLabel();

    // Stores the template (UpDate): see TemplateStore.
    TemplateSaved Save();

    // The template changed in the given layers of the page (PrintPage::Layer): bound values,
    // table and listeners follow.
    void changed(int layers);

signals:
    // Parts of the page to draw again (PrintPage::Layer bits).
    void pageChanged(int layers);
    void selectionChanged();
    // Another template was loaded or the template was stored: its name, number and grid follow.
    void templateChanged();

private:
    QString databasePath_;
    clsTz4DataSets records_;
    clsTz4GraphDisps disps_;
    uclTz4Graph graph_;
    PrintTemplate tmpl_;
    PrintPage page_;
};

} // namespace tz4
