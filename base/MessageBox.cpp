#include "base/MessageBox.h"

#include <cstdio>

namespace {

// Without a window layer (command-line tools) a message still reaches the user.
MessageAnswer PrintToStderr(const MessageRequest& request) {
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(request.title), qUtf8Printable(request.text));
    return MessageAnswer::Ok;
}

MessageHandler& CurrentHandler() {
    static MessageHandler handler = PrintToStderr;
    return handler;
}

} // namespace

MessageAnswer ShowMessage(const QString& text, const QString& title, MessageButtons buttons,
                          MessageIcon icon) {
    return CurrentHandler()(MessageRequest{text, title, buttons, icon});
}

MessageHandler SetMessageHandler(MessageHandler handler) {
    MessageHandler previous = std::move(CurrentHandler());
    CurrentHandler() = handler ? std::move(handler) : MessageHandler(PrintToStderr);
    return previous;
}
