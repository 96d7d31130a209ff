// A message-box seam for the model's tests, which show no message at all.
#pragma once

#include <gtest/gtest.h>

#include "Setup.h"

namespace setup::test {

class NoMessages : public SetupUi {
public:
    Answer Show(MessageKind, const std::string &text, const std::string &, OwnerWindow) override {
        ADD_FAILURE() << "unexpected message: " << text;
        return Answer::Ok;
    }
};

} // namespace setup::test
