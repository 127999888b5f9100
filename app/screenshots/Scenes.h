#pragma once

#include <QList>
#include <QString>

#include <functional>

class QWidget;

namespace tz4::screens {

// One picture of the windows: a file name and the function that sets the scene up in a
// fresh data directory and renders it there. Returns false (with a note on standard error)
// when the scene could not be built.
struct Scene {
    QString fileName;
    std::function<bool(const QString& path)> render;
};

// Every scene, in the order they are rendered. Each window adds its scenes here.
QList<Scene> allScenes();

QList<Scene> mainWindowScenes();
QList<Scene> dataWindowScenes();
QList<Scene> serialPortScenes();
QList<Scene> sampleManagerScenes();
QList<Scene> printWindowScenes();

// Lets pending paint and layout events run, then writes `widget` as it looks to a PNG file.
bool saveWidget(QWidget& widget, const QString& path);

} // namespace tz4::screens
