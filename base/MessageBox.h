#pragma once

#include <QString>
#include <functional>

// Every message box of the program goes through ShowMessage, so that tests can answer and
// record boxes instead of blocking on them. The window layer installs the real dialog.
enum class MessageIcon { None, Critical, Information, Warning };
enum class MessageButtons { Ok, OkCancel };
enum class MessageAnswer { Ok, Cancel };

struct MessageRequest {
    QString text;
    QString title;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

using MessageHandler = std::function<MessageAnswer(const MessageRequest&)>;

MessageAnswer ShowMessage(const QString& text, const QString& title,
                          MessageButtons buttons = MessageButtons::Ok,
                          MessageIcon icon = MessageIcon::None);

// Installs the handler that shows boxes; returns the previous one so a scope can restore it.
MessageHandler SetMessageHandler(MessageHandler handler);
