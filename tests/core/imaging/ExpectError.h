#pragma once

#include "imaging/DocumentError.h"

#include <gtest/gtest.h>

#include <functional>

namespace vellumix::test {

// Runs `action` and checks that it throws a DocumentError of `kind`.
inline void expectError(DocumentError::Kind kind, const std::function<void()>& action) {
    try {
        action();
        ADD_FAILURE() << "expected DocumentError " << int(kind);
    } catch (const DocumentError& error) {
        EXPECT_EQ(error.kind(), kind) << error.what();
    }
}

} // namespace vellumix::test
