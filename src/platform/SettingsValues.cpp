#include "platform/SettingsValues.h"

namespace Zarvo {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseUnsigned(std::string_view text, uint32_t& out) {
    if (text.empty() || text.size() > 10) return false;
    uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<uint64_t>(c - '0');
    }
    if (v > 0xFFFFFFFFull) return false;
    out = static_cast<uint32_t>(v);
    return true;
}

bool ParseHexBytes(std::string_view text, std::vector<uint8_t>& out) {
    if (text.size() % 2 != 0) return false;
    out.clear();
    out.reserve(text.size() / 2);
    for (size_t i = 0; i < text.size(); i += 2) {
        const int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out.push_back(static_cast<uint8_t>(hi * 16 + lo));
    }
    return true;
}

bool ParseValue(std::string_view text, SettingsValues::Value& value) {
    if (text.starts_with("dword:")) {
        uint32_t n = 0;
        if (!ParseUnsigned(text.substr(6), n)) return false;
        value.type = SettingsValues::kDword;
        value.data = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                      static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 24)};
        return true;
    }
    if (text.starts_with("sz:")) {
        std::string s;
        if (!SettingsValues::Unescape(text.substr(3), s)) return false;
        value.type = SettingsValues::kString;
        value.data.assign(s.begin(), s.end());
        value.data.push_back(0);  // strings are stored with their terminator
        return true;
    }
    if (text.starts_with("hex(")) {
        const size_t close = text.find("):");
        if (close == std::string_view::npos) return false;
        uint32_t type = 0;
        if (!ParseUnsigned(text.substr(4, close - 4), type)) return false;
        if (!ParseHexBytes(text.substr(close + 2), value.data)) return false;
        value.type = type;
        return true;
    }
    return false;
}

}  // namespace

std::string SettingsValues::Escape(std::string_view raw) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(raw.size());
    for (unsigned char c : raw) {
        if (c < 0x20 || c >= 0x7F || c == '%' || c == '=' || c == '[' || c == ']' || c == ';' ||
            c == '#') {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

bool SettingsValues::Unescape(std::string_view text, std::string& out) {
    out.clear();
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return false;
        const int hi = HexDigit(text[i + 1]);
        const int lo = HexDigit(text[i + 2]);
        if (hi < 0 || lo < 0) return false;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return true;
}

bool SettingsValues::Parse(std::string_view text) {
    sections_.clear();
    skippedLines_ = 0;
    if (text.size() > kMaxTextSize) return false;
    std::string section;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) {
            ++skippedLines_;  // an unfinished last line is not trusted
            break;
        }
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            std::string name;
            if (line.back() == ']' && line.size() >= 2 &&
                Unescape(line.substr(1, line.size() - 2), name)) {
                section = name;
            } else {
                section = "\x01";  // values under a broken header belong to no real key
                ++skippedLines_;
            }
            continue;
        }
        const size_t eq = line.find('=');
        std::string name;
        Value value;
        if (eq == std::string_view::npos || eq == 0 || !Unescape(line.substr(0, eq), name) ||
            !ParseValue(line.substr(eq + 1), value) || section == "\x01") {
            ++skippedLines_;
            continue;
        }
        sections_[section][name] = std::move(value);
    }
    return true;
}

std::string SettingsValues::Serialize() const {
    static const char kHex[] = "0123456789abcdef";
    std::string out = "; settings, rewritten by the program on every change\n";
    for (const auto& [section, values] : sections_) {
        if (values.empty()) continue;
        if (!section.empty()) out += "[" + Escape(section) + "]\n";
        for (const auto& [name, value] : values) {
            out += Escape(name);
            out += '=';
            if (value.type == kDword && value.data.size() == 4) {
                const uint32_t n = value.data[0] | value.data[1] << 8 | value.data[2] << 16 |
                                   static_cast<uint32_t>(value.data[3]) << 24;
                out += "dword:" + std::to_string(n);
            } else if (value.type == kString && !value.data.empty() && value.data.back() == 0) {
                out += "sz:";
                out += Escape(std::string_view(reinterpret_cast<const char*>(value.data.data()),
                                               value.data.size() - 1));
            } else {
                out += "hex(" + std::to_string(value.type) + "):";
                for (uint8_t b : value.data) {
                    out += kHex[b >> 4];
                    out += kHex[b & 15];
                }
            }
            out += '\n';
        }
    }
    return out;
}

bool SettingsValues::Get(const std::string& section, const std::string& name, Value& out) const {
    const auto s = sections_.find(section);
    if (s == sections_.end()) return false;
    const auto v = s->second.find(name);
    if (v == s->second.end()) return false;
    out = v->second;
    return true;
}

void SettingsValues::Set(const std::string& section, const std::string& name, Value value) {
    sections_[section][name] = std::move(value);
}

bool SettingsValues::Remove(const std::string& section, const std::string& name) {
    const auto s = sections_.find(section);
    if (s == sections_.end()) return false;
    const bool removed = s->second.erase(name) > 0;
    if (s->second.empty()) sections_.erase(s);
    return removed;
}

}  // namespace Zarvo
