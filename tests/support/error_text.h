#pragma once

#include <functional>
#include <string>

#include "common/error.h"
#include "common/text.h"

namespace quorvel {

// The text of the Error a call throws; "(no error)" when it returns.
inline std::u16string ErrorTextOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const Error& e) {
        return e.Message();
    }
    return u"(no error)";
}

// The FileError a call throws as "code text": the runtime's code and its text together.
inline std::u16string FileErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const FileError& e) {
        return ToText(e.Code()) + u" " + e.Message();
    }
    return u"(no error)";
}

}  // namespace quorvel
