#pragma once

#include "ui/controls/messagedialog.h"

#include <QList>
#include <QStringList>

// Takes the place of every message window while it lives: keeps each message
// and answers a question with the answer it was given (OK to the others).
class MessageRecorder : public MessageDialog::StandIn
{
public:
    explicit MessageRecorder(MessageDialog::Answer toQuestions = MessageDialog::Answer::No);
    ~MessageRecorder() override;
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    MessageDialog::Answer answer(const MessageDialog::Message &message) override;

    // Each message as "icon|title|text", with CR shown as "\n".
    QStringList seen() const;
    void clear() { messages.clear(); }

    QList<MessageDialog::Message> messages;

private:
    MessageDialog::Answer m_toQuestions;
};
