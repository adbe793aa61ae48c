#pragma once
// How an operation that can fail says so: it returns a Result (value or Error), never
// throws across Qt's event loop.

#include <QString>

#include <optional>
#include <utility>
#include <variant>

namespace pavix::common {

// Error numbers the handlers look at.
enum ErrorNumber : int {
    ErrGeneral = 5,       // anything not listed below
    ErrDeviceIo = 57,     // input/output error while reading a file ("Device I/O Error")
    ErrBadPicture = 481,  // the file is not a picture we can read
    ErrOverflow = 6,      // a number does not fit its variable
    ErrPathNotFound = 76, // a folder that cannot be opened
};

struct Error {
    int number = ErrGeneral;
    QString message;
};

template <typename T>
class Result {
public:
    Result(T value) : m_data(std::move(value)) {}
    Result(Error error) : m_data(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(m_data); }
    explicit operator bool() const { return ok(); }
    const T &value() const { return std::get<T>(m_data); }
    T &value() { return std::get<T>(m_data); }
    const T &operator*() const { return value(); }
    const T *operator->() const { return &value(); }
    const Error &error() const { return std::get<Error>(m_data); }

private:
    std::variant<T, Error> m_data;
};

struct Ok {};
using Status = Result<Ok>;

inline Error makeError(int number, QString message)
{
    return Error{number, std::move(message)};
}

} // namespace pavix::common
