#include "MailText.h"

namespace {

const char *const kFields[] = {
    "Received: from mx.example.jp by mail.example.jp",
    "Date: Mon, 1 Jan 2001 09:00:00 +0900",
    "From: sender@example.jp",
    "To: rcpt@example.jp",
    "Message-Id: <20010101090000.1234@example.jp>",
    "MIME-Version: 1.0",
    "Content-Type: text/plain; charset=ISO-2022-JP",
    "Content-Transfer-Encoding: 7bit",
    "X-Mailer: Test Mailer 1.0",
    "Return-Path: <sender@example.jp>",
    "Reply-To: sender@example.jp",
    "Organization: Example",
    "X-Priority: 3",
    "Cc: copy@example.jp",
};

} // namespace

MailFile &MailFile::Line(const std::string &text) {
    bytes_ += text + eol_;
    return *this;
}

MailFile &MailFile::Raw(const std::string &bytes) {
    bytes_ += bytes;
    return *this;
}

MailFile &MailFile::Start() {
    starts_.push_back(bytes_.size());
    return *this;
}

MailFile &MailFile::Message(int fields, const std::string &body) {
    starts_.push_back(bytes_.size());
    const int available = static_cast<int>(sizeof kFields / sizeof kFields[0]);
    for (int i = 0; i < fields - 1; ++i)
        bytes_ += std::string(kFields[i % available]) + eol_;
    bytes_ += "Subject: message " + std::to_string(starts_.size()) + eol_;
    bytes_ += eol_;
    bytes_ += body + eol_;
    return *this;
}

std::string MailFile::MessageBytes(size_t i) const {
    if (i >= starts_.size())
        return std::string();
    size_t end = i + 1 < starts_.size() ? starts_[i + 1] : bytes_.size();
    return bytes_.substr(starts_[i], end - starts_[i]);
}

std::string PlainFields(int count, const std::string &eol) {
    std::string lines;
    for (int i = 0; i < count; ++i)
        lines += "X-Mailer: a" + eol;
    return lines;
}
