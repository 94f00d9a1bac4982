#include "support/messagerecorder.h"

MessageRecorder::MessageRecorder(MessageDialog::Answer toQuestions)
    : m_toQuestions(toQuestions)
{
    MessageDialog::setStandIn(this);
}

MessageRecorder::~MessageRecorder()
{
    MessageDialog::setStandIn(nullptr);
}

MessageDialog::Answer MessageRecorder::answer(const MessageDialog::Message &message)
{
    messages.append(message);
    return message.question ? m_toQuestions : MessageDialog::Answer::Ok;
}

QStringList MessageRecorder::seen() const
{
    static const char *const icons[] = {"none", "information", "question", "warning", "stop"};
    QStringList result;
    for (const MessageDialog::Message &message : messages) {
        QString text = message.text;
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        result.append(QLatin1String(icons[static_cast<int>(message.icon)]) + QLatin1Char('|') + message.title
                      + QLatin1Char('|') + text);
    }
    return result;
}
