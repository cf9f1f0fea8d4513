#pragma once

#include <QByteArray>
#include <QDataStream>
#include <QObject>
#include <QString>

// One-way messages on named channels ("QPE/System"). A message reaches every channel
// object of that name in this process, and every process that listens on it through a
// local socket in the message folder ($QUAVRIX_QCOP_DIR, else quavrix-qcop in the
// runtime folder, see runtimefolder.h). Only processes of the same user are heard.
class QCopChannel : public QObject
{
    Q_OBJECT
public:
    explicit QCopChannel(const QString& channel, QObject* parent = nullptr);
    ~QCopChannel() override;

    QString channel() const { return m_channel; }

    // Delivers to this process's channel objects at once and to other processes'
    // listeners before returning.
    static void send(const QString& channel, const QByteArray& message, const QByteArray& data);

    // The integer arguments of a message's data, for display.
    static QList<qint32> intArguments(const QByteArray& data);

    // Empty when no folder safe from other users exists.
    static QString messageFolder();

signals:
    void received(const QByteArray& message, const QByteArray& data);

private:
    QString m_channel;
};

// A message with streamed integer arguments, sent when the envelope is destroyed.
class QCopEnvelope
{
public:
    QCopEnvelope(const QString& channel, const QByteArray& message);
    ~QCopEnvelope();
    QCopEnvelope(const QCopEnvelope&) = delete;
    QCopEnvelope& operator=(const QCopEnvelope&) = delete;

    QCopEnvelope& operator<<(qint32 value);

private:
    QString m_channel;
    QByteArray m_message;
    QByteArray m_data;
};
