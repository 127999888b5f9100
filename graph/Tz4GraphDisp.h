#pragma once

#include <QString>
#include <QStringList>

namespace tz4 {

// How the graph of one record mode looks: colours, point and line styles, the selection
// marks, the ground-level and work-function lines, scales and the fading of records that are
// not selected. One row of the Graphs table per mode, shared by every data window.
class clsTz4GraphDisp {
public:
    clsTz4GraphDisp();

    qint32 BackColor() const { return backColor_; }
    void setBackColor(qint32 value) { backColor_ = checkedColor(value); }
    qint32 ForeColor() const { return foreColor_; }
    void setForeColor(qint32 value) { foreColor_ = checkedColor(value); }
    qint32 ScaleColor() const { return scaleColor_; }
    void setScaleColor(qint32 value) { scaleColor_ = checkedColor(value); }
    bool GridVisible() const { return gridVisible_; }
    void setGridVisible(bool value) { gridVisible_ = value; }
    bool XscaleVisible() const { return xscaleVisible_; }
    void setXscaleVisible(bool value) { xscaleVisible_ = value; }
    bool YscaleVisible() const { return yscaleVisible_; }
    void setYscaleVisible(bool value) { yscaleVisible_ = value; }
    bool DrawVisible() const { return drawVisible_; }
    void setDrawVisible(bool value) { drawVisible_ = value; }
    float OverLayLevel() const { return overLayLevel_; }
    // Values outside 0..1 are ignored.
    void setOverLayLevel(float value);

    qint32 DotColor() const { return dotColor_; }
    void setDotColor(qint32 value) { dotColor_ = checkedColor(value); }
    bool DotFill() const { return dotFill_; }
    void setDotFill(bool value) { dotFill_ = value; }
    qint16 DotSize() const { return dotSize_; }
    void setDotSize(qint16 value) { dotSize_ = value; }
    qint32 DotStyle() const { return dotStyle_; }
    void setDotStyle(qint32 value) { dotStyle_ = value; }

    qint32 LineColor() const { return lineColor_; }
    void setLineColor(qint32 value) { lineColor_ = checkedColor(value); }
    qint32 LineStyle() const { return lineStyle_; }
    void setLineStyle(qint32 value) { lineStyle_ = value; }
    bool LineVisible() const { return lineVisible_; }
    void setLineVisible(bool value) { lineVisible_ = value; }

    qint32 SelectColor() const { return selectColor_; }
    void setSelectColor(qint32 value) { selectColor_ = checkedColor(value); }
    bool SelectFill() const { return selectFill_; }
    void setSelectFill(bool value) { selectFill_ = value; }
    qint16 SelectSize() const { return selectSize_; }
    void setSelectSize(qint16 value) { selectSize_ = value; }
    qint32 SelectStyle() const { return selectStyle_; }
    void setSelectStyle(qint32 value) { selectStyle_ = value; }
    bool SelectVisible() const { return selectVisible_; }
    void setSelectVisible(bool value) { selectVisible_ = value; }

    qint32 GndColor() const { return gndColor_; }
    void setGndColor(qint32 value) { gndColor_ = checkedColor(value); }
    qint32 GndStyle() const { return gndStyle_; }
    void setGndStyle(qint32 value) { gndStyle_ = value; }
    bool GndVisible() const { return gndVisible_; }
    void setGndVisible(bool value) { gndVisible_ = value; }

    qint32 FuncColor() const { return funcColor_; }
    void setFuncColor(qint32 value) { funcColor_ = checkedColor(value); }
    qint32 FuncStyle() const { return funcStyle_; }
    void setFuncStyle(qint32 value) { funcStyle_ = value; }
    bool FuncVisible() const { return funcVisible_; }
    void setFuncVisible(bool value) { funcVisible_ = value; }

    // The rubber band in data units; not stored.
    float SelectX1() const { return selectX1_; }
    void setSelectX1(float value) { selectX1_ = value; }
    float SelectX2() const { return selectX2_; }
    void setSelectX2(float value) { selectX2_ = value; }
    float SelectY1() const { return selectY1_; }
    void setSelectY1(float value) { selectY1_ = value; }
    float SelectY2() const { return selectY2_; }
    void setSelectY2(float value) { selectY2_ = value; }

    qint32 Index() const { return index_; }
    void setIndex(qint32 value) { index_ = value; }
    const QString& Key() const { return key_; }
    void setKey(const QString& key) { key_ = key; }
    const QString& DataBaseName() const { return dataBaseName_; }
    void setDataBaseName(const QString& path) { dataBaseName_ = path; }

    void SetDefaultValue();
    // Loads the set of the key's mode; a missing row or Null column leaves the default.
    void ReLoad();
    // Makes sure the mode's row exists and writes the set into it: every column for 0,
    // OverLayLevel alone for any other value.
    void UpDates(qint32 types);
    // Stores only the columns whose values differ from `before` (the set as this window
    // loaded or last stored it), so another window's newer values in the other columns stay.
    // Nothing is written when nothing differs.
    void UpDatesChanged(const clsTz4GraphDisp& before);
    QString UncheckPointDelim(const QString& value) const;

    // Stored values that cannot be drawn (a fading level outside 0..1, a negative or huge
    // point size, a colour beyond 24 bits, an unknown pen style) are not taken by ReLoad: the
    // default stays and one line per value says so here.
    const QStringList& LoadWarnings() const { return loadWarnings_; }

    // The Graphs TypeNo of a mode letter; -1 for none of the five.
    static int typeNoOfKey(const QString& key);

private:
    class RowReader;
    class RowWriter;
    template <class Columns>
    void eachColumn(Columns& columns);
    static qint32 checkedColor(qint32 value) { return value == 0 ? 1 : value; }
    void SaveDatas(qint32 types);

    qint32 backColor_, foreColor_, scaleColor_;
    bool gridVisible_, xscaleVisible_, yscaleVisible_, drawVisible_;
    float overLayLevel_;
    qint32 dotColor_;
    bool dotFill_;
    qint16 dotSize_;
    qint32 dotStyle_;
    bool dotVisible_;
    qint32 lineColor_, lineStyle_;
    bool lineVisible_;
    qint32 selectColor_;
    bool selectFill_;
    qint16 selectSize_;
    qint32 selectStyle_;
    bool selectVisible_;
    qint32 gndColor_, gndStyle_;
    bool gndVisible_;
    qint32 funcColor_, funcStyle_;
    bool funcVisible_;
    float selectX1_ = 0, selectX2_ = 0, selectY1_ = 0, selectY2_ = 0;
    qint32 index_ = 0;
    QString key_;
    QString dataBaseName_;
    QChar pointDelim_;
    QStringList loadWarnings_;
};

} // namespace tz4
