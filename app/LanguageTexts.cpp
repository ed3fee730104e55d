#include "app/LanguageTexts.h"

#include <json/json.h>

#include <exception>
#include <memory>

#include "skin/Utf8Text.h"

namespace {

// The text of one entry in one language; empty unless it is a well-formed UTF-8 string.
std::wstring EntryText(const Json::Value& entry, const std::string& code) {
    const Json::Value* text = entry.find(code.data(), code.data() + code.size());
    if (!text || !text->isString()) return std::wstring();
    const char* begin = nullptr;
    const char* end = nullptr;
    if (!text->getString(&begin, &end)) return std::wstring();
    std::wstring wide;
    if (!Skin::WideFromStrictUtf8(begin, static_cast<std::size_t>(end - begin), &wide))
        return std::wstring();
    return wide;
}

int EntryId(const Json::Value& entry) {
    static const char kId[] = "id";
    const Json::Value* id = entry.find(kId, kId + sizeof kId - 1);
    return id && id->isInt() ? id->asInt() : 0;
}

bool ParseJson(const std::string& bytes, Json::Value* root) {
    std::size_t start = 0;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;
    Json::CharReaderBuilder builder;
    Json::CharReaderBuilder::strictMode(&builder.settings_);
    builder["rejectDupKeys"] = false;  // a repeated name: the later value stands
    builder["stackLimit"] = 64;         // entries are two levels deep; this keeps the stack small
    try {
        const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
        std::string errors;
        return reader->parse(bytes.data() + start, bytes.data() + bytes.size(), root, &errors) &&
               (root->isArray() || root->isObject());
    } catch (const std::exception&) {  // nesting too deep, out of memory
        return false;
    }
}

}  // namespace

std::vector<std::pair<int, std::wstring>> ReadLanguageTexts(const std::string& jsonBytes,
                                                            const std::string& code,
                                                            bool* parsed) {
    std::vector<std::pair<int, std::wstring>> texts;
    Json::Value root;
    const bool ok = ParseJson(jsonBytes, &root);
    if (parsed) *parsed = ok;
    if (!ok) return texts;
    try {
        for (const Json::Value& entry : root) {
            if (!entry.isObject()) continue;
            texts.emplace_back(EntryId(entry), EntryText(entry, code));
        }
    } catch (const std::exception&) {
        if (parsed) *parsed = false;
        texts.clear();
    }
    return texts;
}
