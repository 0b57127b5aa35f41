#pragma once

#include "dorvanel_export.h"

#include <QString>
#include <QStringList>
#include <cerrno>
#include <exception>
#include <memory>
#include <optional>

class QIODevice;

namespace dorvanel {

/// A raised failure: the number and text that LastErr and LastErrDescrip copy, and the names the
/// engine or the operating system gave its cause, for a program to tell failures apart by.
class DORVANEL_EXPORT Error : public std::exception {
public:
    /// Numbers for failures that carry no native code of their own.
    static constexpr qint32 Unexpected = -2147418113;       ///< any other exception
    static constexpr qint32 StatementFailed = -2147217900;  ///< a statement refused without a numeric code
    static constexpr qint32 OpenFailed = -2147467259;       ///< a connection that cannot be opened
    static constexpr qint32 ItemNotFound = 3265;            ///< no field of that name
    static constexpr qint32 NoCurrentRecord = 3021;         ///< BOF or EOF is true
    static constexpr qint32 ObjectClosed = 3704;            ///< operation on a closed object
    static constexpr qint32 FileFailed = 3004;              ///< a file cannot be read or written
    static constexpr qint32 InvalidArgument = 5;            ///< a value the operation cannot take
    static constexpr qint32 ObjectNotSet = 91;              ///< a required object reference is empty
    static constexpr qint32 CannotCreateObject = 429;       ///< a host class cannot be created
    static constexpr qint32 NoSuchProperty = 438;           ///< an object refuses a property by that name
    static constexpr qint32 NoParentType = -99;             ///< a new parent's link without a parent type

    /// causes: the engine's name for the failure first ("SQLITE_FULL", "SQLSTATE 53100"), then
    /// the system's errno name behind it ("ENOSPC"), where they are known.
    Error(qint32 number, QString description, QStringList causes = {});
    /// Copied, never moved from: the copies share what they tell, and none is left empty.
    ///@{
    Error(const Error&) = default;
    Error& operator=(const Error&) = default;
    ///@}
    ~Error() override = default;

    /// The failure's number, as LastErr copies it.
    qint32 number() const noexcept;
    /// The failure's text, as LastErrDescrip copies it.
    const QString& description() const noexcept;
    /// The names of its cause, as the constructor took them.
    const QStringList& causes() const noexcept;
    /// The description, in UTF-8.
    const char* what() const noexcept override;

    /// The same failure told with other words: its number and causes stay.
    Error retold(QString description) const;

    /// The Error that describes the exception being handled, whatever its type.
    static Error fromCurrentException();

private:
    struct Data;
    std::shared_ptr<const Data> d_;
};

/// errno's symbolic name, which stays the same in every language ("ENOSPC"); empty for 0 and
/// unknown values.
DORVANEL_EXPORT QString systemErrorName(int code);
/// What the operating system says of an errno value, with its symbolic name: "No space left on
/// device (ENOSPC)". Failures of the component that come from the system or an engine end their
/// description with such names in parentheses ("database is locked (SQLITE_BUSY)",
/// "... (SQLSTATE 53100)"), so that they survive wherever only the description is passed on.
DORVANEL_EXPORT QString systemErrorText(int code);
/// Why a file or device call failed: the system's reason for code, the errno that call left
/// (0 when it set none), else the device's own text.
DORVANEL_EXPORT QString deviceErrorText(const QIODevice& device, int code);
/// Runs a system or device call that tells success with true; gives nothing when it succeeded,
/// else the errno it left (0 when it set none). errno is cleared before the call, so that a
/// failure which sets none is not blamed on an earlier one.
template <typename Call>
std::optional<int> failedCall(Call&& call) {
    errno = 0;
    if (call()) return std::nullopt;
    return errno;
}
/// A failure of a system or device call, its errno code (0: none) as its cause.
DORVANEL_EXPORT Error systemError(qint32 number, const QString& description, int code);

}  // namespace dorvanel
