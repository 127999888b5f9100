#include "app/cli/RecordCommands.h"

#include "samples/FatTreeModel.h"
#include "samples/SampleItemRoles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace tz4::cli {

namespace {

void printNodes(const FatTreeModel& tree, const QModelIndex& parent, int depth, QTextStream& out)
{
    for (int row = 0; row < tree.rowCount(parent); ++row) {
        const QModelIndex index = tree.index(row, 0, parent);
        out << QString(depth * 2, QLatin1Char(' ')) << tree.keyOf(index) << '\t' << index.data().toString() << '\n';
        printNodes(tree, index, depth + 1, out);
    }
}

QJsonArray nodesJson(const FatTreeModel& tree, const QModelIndex& parent)
{
    QJsonArray nodes;
    for (int row = 0; row < tree.rowCount(parent); ++row) {
        const QModelIndex index = tree.index(row, 0, parent);
        nodes.append(QJsonObject{{QStringLiteral("key"), tree.keyOf(index)},
                                 {QStringLiteral("name"), index.data().toString()},
                                 {QStringLiteral("image"), index.data(ImageRole).toString()},
                                 {QStringLiteral("children"), nodesJson(tree, index)}});
    }
    return nodes;
}

} // namespace

void printFolderTree(const QString& database, bool json)
{
    FatTreeModel tree;
    tree.setDataBaseFile(database);
    tree.MakeList();
    QTextStream out(stdout);
    if (json)
        out << QJsonDocument(nodesJson(tree, {})).toJson(QJsonDocument::Compact) << '\n';
    else
        printNodes(tree, {}, 0, out);
}

} // namespace tz4::cli
