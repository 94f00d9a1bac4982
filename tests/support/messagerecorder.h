#pragma once

#include "ui/controls/messagedialog.h"

#include <QList>
#include <QStringList>

// Takes the place of every message window while it lives: keeps each message
// and answers a question with the answer it was given (OK to the others).
class MessageRecorder : public MessageDialog::StandIn
{
public:
    explicit MessageRecorder(MessageDialog::Answer toQuestions = MessageDialog::Answer::No)
        : m_toQuestions(toQuestions)
    {
        MessageDialog::setStandIn(this);
    }
    ~MessageRecorder() override { MessageDialog::setStandIn(nullptr); }
    Q_DISABLE_COPY(MessageRecorder)

    MessageDialog::Answer answer(const MessageDialog::Message &message) override
    {
        messages.append(message);
        return message.question ? m_toQuestions : MessageDialog::Answer::Ok;
    }

    // Each message as "icon|title|text", with CR shown as "\n".
    QStringList seen() const
    {
        static const char *const icons[] = {"none", "information", "question", "warning", "stop"};
        QStringList result;
        for (const MessageDialog::Message &message : messages) {
            result.append(QLatin1String(icons[static_cast<int>(message.icon)]) + QLatin1Char('|')
                          + message.title + QLatin1Char('|')
                          + QString(message.text).replace(QLatin1Char('\r'), QLatin1Char('\n')));
        }
        return result;
    }

    QList<MessageDialog::Message> messages;

private:
    MessageDialog::Answer m_toQuestions;
};
