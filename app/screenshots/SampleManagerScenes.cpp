#include "app/screenshots/Scenes.h"

#include "core/Clock.h"
#include "core/DataDirectory.h"
#include "core/Keys.h"
#include "core/RecordParameters.h"
#include "core/SystemParam.h"
#include "data/DatabaseSetup.h"
#include "data/SampleOperations.h"
#include "data/Tz4DataSet.h"
#include "gui/datawin/DataWindowOpener.h"
#include "gui/mainwin/MainWindow.h"
#include "gui/samples/SampleGridView.h"
#include "gui/samples/SampleItemView.h"
#include "gui/samples/SampleManagerOpener.h"
#include "gui/samples/SampleManagerWindow.h"
#include "mainwin/MainControl.h"
#include "samples/SampleManagerControl.h"
#include "sim/SimulatorLine.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>

#include <cmath>

namespace tz4::screens {

namespace {

// A stored record of `kind` in folder `folder` with points a real one of its kind would have.
QString storeRecord(const QString& kind, const QString& name, qint32 folder, double workFunction, float light)
{
    clsTz4DataSet record;
    record.setDataBaseName(SystemParam().DatabasePath);
    record.setKey(kind);
    record.ReLoad();
    record.setParameters(param::SampleName, name);
    record.setParameters(param::FolderNumber, folder);
    record.setParameters(param::MeasuredLight, light);
    record.setParameters(param::TargetLight, 20.0f);
    if (kind == QLatin1String("W") || kind == QLatin1String("L")) {
        const int points = 31;
        record.setDataCount(points);
        for (int i = 0; i < points; ++i) {
            const double e = 4.5 + 0.05 * i;
            const double yield = e > workFunction ? 900 * std::pow(e - workFunction, 2) + 3 : 3;
            record.setOrgValueX(float(e), i);
            record.setOrgValueY(float(kind == QLatin1String("L") ? light * (1.2 - 0.1 * (e - 4.5)) : yield), i);
        }
        record.setGraphX(0, 4.5f);
        record.setGraphX(1, 6.0f);
        record.setGraphX(2, 0.25f);
    } else if (kind != QLatin1String("T")) {
        record.setDataCount(10);
        for (int i = 0; i < 10; ++i) {
            record.setOrgValueX(float(i + 1), i);
            record.setOrgValueY(float(workFunction * (1 + 0.02 * std::sin(i))), i);
        }
    }
    record.AddDatas();
    return record.Key();
}

bool renderSampleManager(const QString& path)
{
    QTemporaryDir home;
    if (!home.isValid())
        return false;
    setDataDirectory(home.path());
    if (!createDatabaseIfMissing(home.path()))
        return false;
    InitSystemParam();
    const QString database = SystemParam().DatabasePath;
    VirtualClock clock;
    sim::SimulatorLine line(clock, sim::SimOptions{});
    gui::MainWindow frame(clock, line);
    frame.resize(1280, 760);
    frame.show();
    if (frame.control().GetBodyStatus() != MainControl::Ready)
        return false;

    // A small laboratory's desktop: folders by sample, records of every kind, one folder and
    // one record in the trash.
    const qint32 gold = GetKeySeq(newFolder(database, QStringLiteral("Gold films"), QStringLiteral("1 A")));
    const QString december = newFolder(database, QStringLiteral("December runs"), makeKey(gold, QStringLiteral("F")));
    const qint32 organics = GetKeySeq(newFolder(database, QStringLiteral("Pentacene"), QStringLiteral("1 A")));
    const qint32 lamp = GetKeySeq(newFolder(database, QStringLiteral("Lamp checks"), QStringLiteral("1 A")));
    const QString old = newFolder(database, QStringLiteral("Old runs"), QStringLiteral("1 A"));
    const QString goldScan = storeRecord(QStringLiteral("W"), QStringLiteral("Gold 100 nm"), gold, 5.10, 20.1f);
    storeRecord(QStringLiteral("W"), QStringLiteral("Gold 100 nm, annealed"), gold, 5.22, 19.8f);
    storeRecord(QStringLiteral("W"), QStringLiteral("Gold 20 nm"), GetKeySeq(december), 4.98, 20.3f);
    storeRecord(QStringLiteral("W"), QStringLiteral("Copper"), 0, 4.65, 20.0f);
    storeRecord(QStringLiteral("C"), QStringLiteral("Pentacene 12 nm"), organics, 820, 10.2f);
    const QString calib1 = storeRecord(QStringLiteral("D"), QStringLiteral("Pentacene 5 nm"), organics, 1500, 10.0f);
    const QString calib2 = storeRecord(QStringLiteral("D"), QStringLiteral("Pentacene 20 nm"), organics, 400, 10.1f);
    const QString lineKey = storeRecord(QStringLiteral("T"), QStringLiteral("Pentacene line"), organics, 0, 10.0f);
    const QString lampKey = storeRecord(QStringLiteral("L"), QStringLiteral("Lamp 20 nW"), lamp, 0, 20.0f);
    MultiCopyItem(database, lineKey, {calib1, calib2}, false);
    MultiCopyItem(database, goldScan, {lampKey}, false);
    const QString draft = storeRecord(QStringLiteral("W"), QStringLiteral("Gold, door open"), gold, 5.4, 8.0f);
    MultiDeleteItem(database, {old, draft});

    gui::SampleManagerWindow* manager = gui::openSampleManager(frame, database);
    gui::openDataWindows(database, {goldScan}, &frame.control(), [&frame](QWidget* window) { frame.addChildWindow(window); });
    if (QAction* tile = frame.entry(QStringLiteral("mnuTileVertical")))
        tile->trigger();
    // A search for the pentacene records, of four kinds, listed under the search node.
    SearchConditions pentacene;
    pentacene.sampleName = QStringLiteral("Pentacene");
    manager->control().grid().setConditions(pentacene);
    manager->tree()->setCurrentIndex(manager->control().tree().indexOfKey(QStringLiteral("1 Q")));
    for (const char* key : {"1 A", "1 R"})
        manager->tree()->expand(manager->control().tree().indexOfKey(QLatin1String(key)));
    manager->tree()->expandAll();
    frame.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(manager->parentWidget()));
    return saveWidget(frame, path);
}

} // namespace

QList<Scene> sampleManagerScenes() { return {{QStringLiteral("sample-manager.png"), renderSampleManager}}; }

} // namespace tz4::screens
