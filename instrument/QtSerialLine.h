#pragma once

#include "core/CatalogText.h"
#include "core/SerialLine.h"

#include <QList>
#include <QSerialPort>

namespace tz4 {

// SerialLine over a real serial device. `CommPort` n opens the platform's n-th port
// (COMn, /dev/ttyS(n-1)) unless a device path was given, which then always wins.
class QtSerialLine final : public SerialLine {
public:
    using SerialLine::failureCause;

    explicit QtSerialLine(const QString& devicePath = {});

    static QString platformPortName(int port);

    void setPortNumber(int port) override;
    void setSettings(const QString& settings) override;
    QString settings() const override { return settings_; }
    bool open() override;
    void close() override;
    bool isOpen() const override;
    void write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    void discardInput() override;
    QString description() const override;
    QString failureCause(Language language) const override;
    // An empty path goes back to the numbered port.
    bool setDevicePath(const QString& path) override;

private:
    void applySettings();
    bool fail(QList<CatalogText> cause);

    QSerialPort port_;
    QString devicePath_;
    int portNumber_ = 1;
    QString settings_ = QStringLiteral("19200,n,7,1");
    QList<CatalogText> cause_;
};

} // namespace tz4
