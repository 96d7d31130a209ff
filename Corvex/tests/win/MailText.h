// Mail files built piece by piece, remembering where each message's first
// byte lies, so a test knows the exact bytes every .eml file must hold.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class MailFile {
public:
    explicit MailFile(std::string eol = "\r\n") : eol_(std::move(eol)) {}

    // One line of text that starts no message.
    MailFile &Line(const std::string &text);
    // Bytes as they stand.
    MailFile &Raw(const std::string &bytes);
    // Records the current end as the first byte of a message that the
    // following Raw or Line calls spell out.
    MailFile &Start();
    // A message: `fields` header lines (the last one "Subject:"), an empty
    // line and one body line. The message's first byte is recorded.
    MailFile &Message(int fields, const std::string &body = "hello world");

    const std::string &Bytes() const { return bytes_; }
    size_t Size() const { return bytes_.size(); }
    const std::vector<size_t> &Starts() const { return starts_; }
    // The bytes of message i as the library writes them for kind 0: from its
    // first byte up to the next message's first byte or the end of the file.
    std::string MessageBytes(size_t i) const;

private:
    std::string eol_;
    std::string bytes_;
    std::vector<size_t> starts_;
};

// `count` header lines, all "X-Mailer: a", which carry no continuation mark.
std::string PlainFields(int count, const std::string &eol = "\r\n");
