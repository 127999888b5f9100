#include "tests/data/SampleFixture.h"

#include "samples/FatComboModel.h"
#include "samples/FatTreeModel.h"
#include "samples/SampleItemRoles.h"
#include "samples/SampleListModel.h"

#include <QMimeData>

using namespace tz4;

namespace {

class SampleModels : public test::SampleDatabase {
protected:
    QStringList treeKeys(const FatTreeModel& tree, const QModelIndex& parent = {}) const
    {
        QStringList keys;
        for (int row = 0; row < tree.rowCount(parent); ++row) {
            const QModelIndex index = tree.index(row, 0, parent);
            keys << tree.keyOf(index);
            for (const QString& child : treeKeys(tree, index))
                keys << QStringLiteral("  ") + child;
        }
        return keys;
    }

    QStringList listKeys(const SampleListModel& list) const
    {
        QStringList keys;
        for (int row = 0; row < list.rowCount(); ++row)
            keys << list.keyOf(row);
        return keys;
    }

    std::unique_ptr<FatTreeModel> tree(int flags = 0) const
    {
        auto model = std::make_unique<FatTreeModel>();
        model->setDataBaseFile(path);
        model->setDispFlags(flags);
        model->MakeList();
        return model;
    }

    std::unique_ptr<SampleListModel> list(const QString& parentKey, int flags = 0) const
    {
        auto model = std::make_unique<SampleListModel>();
        model->setDataBaseFile(path);
        model->setDispFlags(flags);
        model->setParentKey(parentKey);
        model->MakeList();
        return model;
    }
};

} // namespace

TEST_F(SampleModels, AnEmptyDatabaseShowsTheFixedNodes)
{
    const auto tModel = tree(0);
    FatTreeModel& t = *tModel;
    EXPECT_EQ(treeKeys(t), (QStringList{QStringLiteral("1 A"), QStringLiteral("  1 Q"), QStringLiteral("  1 P"),
                                        QStringLiteral("    2 P"), QStringLiteral("    3 P"), QStringLiteral("    4 P"),
                                        QStringLiteral("    5 P"), QStringLiteral("    6 P"), QStringLiteral("  1 R")}));
    EXPECT_EQ(t.data(t.indexOfKey(QStringLiteral("1 A"))).toString(), QStringLiteral("TZ4 DeskTop"));
    EXPECT_EQ(t.data(t.indexOfKey(QStringLiteral("6 P"))).toString(), QStringLiteral("Calibllation"));
    EXPECT_EQ(t.data(t.indexOfKey(QStringLiteral("1 R")), ImageRole).toString(), QStringLiteral("Recycle2"));
    const auto lModel = list(QStringLiteral("1 A"), 0);
    SampleListModel& l = *lModel;
    EXPECT_EQ(listKeys(l), (QStringList{QStringLiteral("1 Q"), QStringLiteral("1 P")}));
    EXPECT_EQ(l.headerData(SampleListModel::DateColumn, Qt::Horizontal).toString(), QStringLiteral("Dates"));

    const auto bareModel = tree(dispflag::Trash | dispflag::Printer | dispflag::Search);
    FatTreeModel& bare = *bareModel;
    EXPECT_EQ(treeKeys(bare), QStringList{QStringLiteral("1 A")});
}

TEST_F(SampleModels, FoldersAndRecordsShowTheirNamesKindsAndTrash)
{
    exec(QStringLiteral("Insert Into FAT(SeqNo,Parent,Recycled) Values (4,0,0);"));
    folder(5, QStringLiteral("Sub"), 4);
    folder(6, QStringLiteral("Binned"), 0, 1);
    record(10, 0, QStringLiteral("Gold"), 4);
    record(11, 1, QStringLiteral("Film"), 4);
    record(12, 2, QStringLiteral("Lamp"), 4);
    exec(QStringLiteral("Update Setting Set MeasLight=Null,DataTime=Null Where SeqNo=12;"));
    record(13, 0, QStringLiteral("Old"), 4, 1, 0, 0, 1);

    const auto tModel = tree(0);
    FatTreeModel& t = *tModel;
    EXPECT_EQ(t.data(t.indexOfKey(QStringLiteral("4 F"))).toString(), QStringLiteral("Name None"));
    EXPECT_EQ(t.parent(t.indexOfKey(QStringLiteral("5 F"))), t.indexOfKey(QStringLiteral("4 F")));
    EXPECT_EQ(t.parent(t.indexOfKey(QStringLiteral("6 F"))), t.indexOfKey(QStringLiteral("1 R")));
    EXPECT_EQ(t.data(t.indexOfKey(QStringLiteral("1 R")), ImageRole).toString(), QStringLiteral("RecycleFull2"));
    EXPECT_EQ(t.data(t.indexOfKey(QStringLiteral("5 F")), SelectedImageRole).toString(), QStringLiteral("OpenFolder"));

    const auto lModel = list(QStringLiteral("4 F"), 0);
    SampleListModel& l = *lModel;
    EXPECT_EQ(listKeys(l), (QStringList{QStringLiteral("5 F"), QStringLiteral("10 W"), QStringLiteral("11 C"),
                                        QStringLiteral("12 L")}));
    EXPECT_EQ(l.data(l.index(1, SampleListModel::TypeColumn)).toString(), QStringLiteral("Work Function"));
    EXPECT_EQ(l.data(l.index(1, SampleListModel::LightColumn)).toString(), QStringLiteral("12.5nW"));
    EXPECT_EQ(l.data(l.index(2, SampleListModel::NameColumn), ImageRole).toString(), QStringLiteral("Scope"));
    EXPECT_EQ(l.data(l.index(3, SampleListModel::LightColumn)).toString(), QStringLiteral("0.0nW"));
    EXPECT_EQ(l.data(l.index(3, SampleListModel::DateColumn)).toString(), QStringLiteral("Measure Date None"));

    const auto noWorkModel = list(QStringLiteral("4 F"), dispflag::WorkFunction);
    SampleListModel& noWork = *noWorkModel;
    EXPECT_EQ(listKeys(noWork), (QStringList{QStringLiteral("5 F"), QStringLiteral("11 C"), QStringLiteral("12 L")}));
    const auto trashModel = list(QStringLiteral("1 R"), 0);
    SampleListModel& trash = *trashModel;
    EXPECT_EQ(listKeys(trash), (QStringList{QStringLiteral("6 F"), QStringLiteral("13 W")}));
}

TEST_F(SampleModels, TheSearchNodeListsTheQueryResult)
{
    record(10, 0, QStringLiteral("Copper"));
    record(11, 1, QStringLiteral("Copper film"));
    const auto lModel = list(QStringLiteral("1 Q"), 0);
    SampleListModel& l = *lModel;
    EXPECT_EQ(l.rowCount(), 0) << "no query yet";
    l.setQueryString(QStringLiteral("Where SampleName Like '*Cu*' And Modes=1"));
    l.MakeList();
    EXPECT_EQ(l.rowCount(), 0);
    l.setQueryString(QStringLiteral("Where SampleName Like '*opp*' And Modes=1"));
    l.MakeList();
    EXPECT_EQ(listKeys(l), QStringList{QStringLiteral("11 C")});
}

TEST_F(SampleModels, OnlyFoldersRecordsAndTemplatesAreRenamedOrDragged)
{
    record(10, 0, QStringLiteral("B"));
    record(11, 0, QStringLiteral("A"));
    exec(QStringLiteral("Update Setting Set DataTime=#2020-01-01# Where SeqNo=11;"));
    const auto lModel = list(QStringLiteral("1 A"), 0);
    SampleListModel& l = *lModel;
    for (int row = 0; row < l.rowCount(); ++row) {
        const QString type = l.keyOf(row).section(QLatin1Char(' '), 1);
        const bool fixed = type == QLatin1String("Q") || type == QLatin1String("P");
        EXPECT_EQ(bool(l.flags(l.index(row, 0)) & Qt::ItemIsEditable), !fixed) << qPrintable(l.keyOf(row));
    }
    const auto tModel = tree(0);
    FatTreeModel& t = *tModel;
    EXPECT_FALSE(t.flags(t.indexOfKey(QStringLiteral("1 Q"))) & Qt::ItemIsEditable);
    EXPECT_FALSE(t.flags(t.indexOfKey(QStringLiteral("3 P"))) & Qt::ItemIsEditable);

    // The drag key list follows the list order, whatever order the selection was made in.
    const std::unique_ptr<QMimeData> mime(l.mimeData({l.index(1, 0), l.index(0, 2), l.index(0, 0)}));
    EXPECT_EQ(mime->data(kDragKeysMimeType), QByteArray("10 W\t11 W\t"));

    l.sort(SampleListModel::DateColumn);
    EXPECT_EQ(l.keyOf(0), QStringLiteral("11 W")) << "sorted by time, not by the text of the date";
    l.sort(SampleListModel::NameColumn, Qt::DescendingOrder);
    EXPECT_EQ(l.keyOf(0), QStringLiteral("1 Q")) << "\"Query\" comes last in the alphabet";
}

TEST_F(SampleModels, TemplatesListUnderTheirKindsFolder)
{
    exec(QStringLiteral("Insert Into Prints(SeqNo,TemplateName,TemplateDate,TemplateType,DefaultTemp) Values "
                        "(1,'Standard',#2024-05-06#,1,True),(2,'Spare',#2024-05-06#,1,False),(3,'Work',#2024-05-06#,0,True);"));
    const auto lModel = list(QStringLiteral("3 P"), 0);
    SampleListModel& l = *lModel;
    EXPECT_EQ(listKeys(l), (QStringList{QStringLiteral("1 K"), QStringLiteral("2 K")}));
    EXPECT_EQ(l.data(l.index(1, 0), ImageRole).toString(), QStringLiteral("NoPrint"));
    EXPECT_EQ(l.headerData(SampleListModel::DateColumn, Qt::Horizontal).toString(), QStringLiteral("作成日時"));
    const auto hiddenModel = list(QStringLiteral("3 P"), dispflag::Printer);
    SampleListModel& hidden = *hiddenModel;
    EXPECT_EQ(hidden.rowCount(), 0);
}

TEST_F(SampleModels, TheFolderComboIndentsSubFoldersAndGivesPaths)
{
    folder(1, QStringLiteral("Top"));
    folder(2, QStringLiteral("Sub"), 1);
    folder(3, QStringLiteral("Leaf"), 2);
    folder(4, QStringLiteral("Gone"), 1, 1);
    FatComboModel combo;
    combo.setDataBaseName(path);
    combo.MakeList();
    ASSERT_EQ(combo.rowCount(), 3);
    EXPECT_EQ(combo.data(combo.index(2), DepthRole).toInt(), 2);
    EXPECT_EQ(combo.Path(2), QStringLiteral("Top\\Sub\\Leaf"));
    EXPECT_EQ(combo.keyOf(1), QStringLiteral("2 F"));
}
