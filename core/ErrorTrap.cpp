#include "core/ErrorTrap.h"

#include "core/CautionLog.h"
#include "core/ErrorLevel.h"
#include "core/ErrorReporter.h"
#include "core/MessageCatalog.h"
#include "core/SystemParam.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>

#include <filesystem>
#include <ios>
#include <new>
#include <system_error>

namespace tz4 {

namespace {

Tz4Error fromErrorCode(const std::error_code& code, const QString& detail)
{
    const auto condition = code.default_error_condition();
    const QString suffix = detail.isEmpty() ? QString() : QStringLiteral(": ") + detail;
    if (condition == std::errc::no_such_file_or_directory)
        return Tz4Error(err::FileNotFound, QStringLiteral("File not found") + suffix);
    if (condition == std::errc::permission_denied || condition == std::errc::operation_not_permitted)
        return Tz4Error(err::PermissionDenied, QStringLiteral("Permission denied") + suffix);
    if (condition == std::errc::no_space_on_device)
        return Tz4Error(err::DiskFull, QStringLiteral("Disk full") + suffix);
    if (condition == std::errc::not_enough_memory)
        return Tz4Error(err::OutOfMemory, QStringLiteral("Out of memory") + suffix);
    return Tz4Error(err::DeviceIoError, QStringLiteral("Device I/O error") + suffix);
}

} // namespace

Tz4Error currentError()
{
    try {
        throw;
    } catch (const Tz4Error& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return Tz4Error(err::OutOfMemory, QStringLiteral("Out of memory"));
    } catch (const std::filesystem::filesystem_error& e) {
        return fromErrorCode(e.code(), QString::fromStdString(e.path1().string()));
    } catch (const std::system_error& e) { // includes std::ios_base::failure
        return fromErrorCode(e.code(), QString::fromLocal8Bit(e.what()));
    } catch (const std::out_of_range&) {
        return Tz4Error(err::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
    } catch (const std::length_error&) {
        return Tz4Error(err::OutOfMemory, QStringLiteral("Out of memory"));
    } catch (const std::invalid_argument& e) {
        return Tz4Error(err::InvalidProcedureCall, QStringLiteral("Invalid procedure call or argument: ") + QString::fromLocal8Bit(e.what()));
    } catch (const std::domain_error& e) {
        return Tz4Error(err::InvalidProcedureCall, QStringLiteral("Invalid procedure call or argument: ") + QString::fromLocal8Bit(e.what()));
    } catch (const std::overflow_error&) {
        return Tz4Error(err::Overflow, QStringLiteral("Overflow"));
    } catch (const std::underflow_error&) {
        return Tz4Error(err::Overflow, QStringLiteral("Overflow"));
    } catch (const std::range_error&) {
        return Tz4Error(err::Overflow, QStringLiteral("Overflow"));
    } catch (const std::exception& e) {
        return Tz4Error(err::InternalError, QStringLiteral("Internal error: ") + QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return Tz4Error(err::InternalError, QStringLiteral("Internal error"));
    }
}

Tz4Error fileError(const QFileDevice& file)
{
    const QString name = file.fileName();
    switch (file.error()) {
    case QFileDevice::NoError:
        break;
    case QFileDevice::OpenError:
        if (!QFileInfo::exists(name))
            return QFileInfo(name).dir().exists()
                ? Tz4Error(err::FileNotFound, QStringLiteral("File not found: ") + name)
                : Tz4Error(err::PathNotFound, QStringLiteral("Path not found: ") + name);
        return Tz4Error(err::PathFileAccess, QStringLiteral("Path/File access error: ") + name);
    case QFileDevice::PermissionsError:
        return Tz4Error(err::PermissionDenied, QStringLiteral("Permission denied: ") + name);
    case QFileDevice::ResourceError:
        return Tz4Error(err::OutOfMemory, QStringLiteral("Out of memory: ") + name);
    case QFileDevice::ReadError:
    case QFileDevice::WriteError:
    case QFileDevice::FatalError:
    case QFileDevice::AbortError:
    case QFileDevice::TimeOutError:
    case QFileDevice::UnspecifiedError:
    case QFileDevice::RemoveError:
    case QFileDevice::RenameError:
    case QFileDevice::PositionError:
    case QFileDevice::ResizeError:
    case QFileDevice::CopyError:
        break;
    }
    return Tz4Error(err::DeviceIoError, QStringLiteral("Device I/O error: ") + name + QStringLiteral(" (")
                                            + file.errorString() + QLatin1Char(')'));
}

void ShowErrorMessage(const QString& windowName, const QString& label, const Tz4Error& error)
{
    const ErrorClass errorClass = ErrorLevel(error.number());
    if (errorClass == ErrorClass::Trappable && !DebugMode())
        return;
    const ErrorClassMessage message = errorClassMessage(errorClass);
    const QVariantList arguments{windowName, label, error.description()};
    errorReporter().showMessage(GetRes(message.promptId, arguments), GetRes(message.titleId), message.icon,
                                MessageButtons::Ok);
}

bool ErrorTrap::run(const std::function<void()>& statement)
{
    if (DebugMode()) {
        statement();
        return true;
    }
    try {
        statement();
        return true;
    } catch (...) {
        error_ = currentError();
        return false;
    }
}

bool ErrorTrap::finish()
{
    if (!error_)
        return true;
    WriteCautionLog({}, &*error_);
    return false;
}

bool runLogged(const std::function<void()>& body)
{
    ErrorTrap trap;
    trap.run(body);
    return trap.finish();
}

bool runReported(const QString& windowName, const QString& label, const std::function<void()>& body)
{
    ErrorTrap trap;
    if (trap.run(body))
        return true;
    ShowErrorMessage(windowName, label, *trap.error());
    return false;
}

} // namespace tz4
