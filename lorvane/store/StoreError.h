#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// The file error that ends a store command; message() is written for the user, the
// path as shown to them. Inside the core it travels as an exception; the public calls
// that have partial results to apply hand it back in their result's `error` field.
namespace lorvane {

class StoreError : public std::exception {
public:
    explicit StoreError(QString message)
        : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

    // "Cannot create file %s" with the path as shown to the user.
    static StoreError cannotCreate(const QByteArray& path);
    // "Cannot open file %s" with the path as shown to the user.
    static StoreError cannotOpen(const QByteArray& path);

    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

} // namespace lorvane
