#include "cleaners/browsers/index_file_messages.h"

#include <atomic>
#include <string>

namespace {

std::atomic<MessageBoxFunction> messageBox{&MessageBoxW};

const wchar_t* TextOf(IndexFileMessage message) {
    switch (message) {
    case IndexFileMessage::Cache:
        return L"Error IE Cache: File could not be opened";
    case IndexFileMessage::Cookies:
        return L"Error IE Cookies: File could not be opened";
    case IndexFileMessage::IndexAll:
        return L"Error IE IndexAll: File could not be opened";
    case IndexFileMessage::Index:
        return L"Error IE Index: File could not be opened";
    case IndexFileMessage::BrowserHistory:
        return L"Error IE BrowserH: File could not be opened";
    }
    return L"";
}

std::wstring ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2); // truncated: the path is longer than MAX_PATH
    }
}

} // namespace

void ShowIndexFileMessage(IndexFileMessage message) {
    messageBox.load()(nullptr, TextOf(message), ProgramPath().c_str(), MB_OK | MB_ICONEXCLAMATION);
}

MessageBoxFunction ReplaceIndexFileMessageBox(MessageBoxFunction replacement) {
    return messageBox.exchange(replacement);
}
