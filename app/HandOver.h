#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>

// What a later start hands over to the running copy over its private socket, and how it is
// written there. Every request is one line; a lookup's line says how many bytes of text follow it:
//
//   activate\n                 come forward
//   status\n                   say who you are
//   lookup BYTES FLAG TOKEN\n  come forward (TOKEN: the desktop's activation token, percent-
//   TEXT                       encoded, or "-") and look up TEXT, BYTES bytes of UTF-8; FLAG is
//                              "text", "cut" (the text was cut to its first 64 KiB) or
//                              "selection" (no TEXT: read the desktop's selection yourself)
//
// Every request is answered with one line, "tessarine-2000 ready|starting IDENTITY", once it has
// been read whole.
namespace HandOver {

// A text to look up, with what the start knows about it.
struct LookupRequest {
    // The copy that acts reads the desktop's selection itself: the start could not (a Wayland
    // program without a window of its own is not told the selection).
    bool readSelection = false;
    QString text;
    bool cut = false; // text is the first 64 KiB of a longer one
    // The token the desktop gave the start to bring a window forward (xdg-activation); empty
    // for none.
    QString activationToken;

    friend bool operator==(const LookupRequest&, const LookupRequest&) = default;
};

inline constexpr const char* kActivateRequest = "activate\n";
inline constexpr const char* kStatusRequest = "status\n";
// The longest line of a request, and of an answer.
inline constexpr qsizetype kLongestLine = 256;
// The longest activation token sent, in bytes once percent-encoded; a longer one is left out.
inline constexpr qsizetype kLongestToken = 128;

QByteArray Encode(const LookupRequest& request);

// Reads one request from the bytes of a connection as they arrive.
class RequestReader {
public:
    enum class State { Incomplete, Activate, Status, Lookup, Bad };

    // Takes the bytes that arrived; the request is read whole once the state is no longer
    // Incomplete. Bytes after a whole request are ignored; Bad stays Bad.
    State Feed(const QByteArray& bytes);
    State Current() const { return state_; }

    // The lookup read, once the state is Lookup.
    const LookupRequest& Lookup() const { return lookup_; }

private:
    State ReadLine();

    State state_ = State::Incomplete;
    QByteArray buffer_;
    qsizetype bodyLength_ = -1; // bytes of text still awaited after a lookup's line
    LookupRequest lookup_;
};

} // namespace HandOver

Q_DECLARE_METATYPE(HandOver::LookupRequest)
