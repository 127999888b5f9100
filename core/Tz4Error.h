#pragma once

#include <QString>

#include <stdexcept>

namespace tz4 {

// A failure with the error number the rest of the program classifies and logs
// (see ErrorLevel), plus its description text.
class Tz4Error : public std::runtime_error {
public:
    Tz4Error(int number, const QString& description)
        : std::runtime_error(description.toStdString()), number_(number), description_(description)
    {
    }
    int number() const { return number_; }
    const QString& description() const { return description_; }

private:
    int number_;
    QString description_;
};

// Error numbers used by the program's own failures; they follow the classic run-time numbering
// so that the three error classes apply unchanged.
namespace err {
constexpr int InvalidProcedureCall = 5;
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
constexpr int SubscriptOutOfRange = 9;
constexpr int DivisionByZero = 11;
constexpr int TypeMismatch = 13;
constexpr int InternalError = 51;
constexpr int FileNotFound = 53;
constexpr int FileAlreadyOpen = 55;
constexpr int DeviceIoError = 57;
constexpr int FileAlreadyExists = 58;
constexpr int DiskFull = 61;
constexpr int PermissionDenied = 70;
constexpr int PathFileAccess = 75;
constexpr int PathNotFound = 76;
constexpr int ObjectNotSet = 91;
constexpr int ResourceNotFound = 326;
constexpr int InvalidPropertyValue = 380;
constexpr int PropertyReadOnlyDesign = 382;
constexpr int PropertyReadOnly = 393;
constexpr int DuplicateCollectionKey = 457;
constexpr int DatabaseExists = 3204;
constexpr int ItemNotFound = 3265;
constexpr int TableNotFound = 3376;
} // namespace err

} // namespace tz4
