#include "framework/Classes.h"

const ClassInfo& TStringList::StaticClassInfo() {
    static const ClassInfo info{"TStringList", &TPersistent::StaticClassInfo(), {}, {}};
    return info;
}

TStringList& TStringList::operator=(const TStringList& other) {
    if (this != &other) {
        lines_ = other.lines_;
        Changed();
    }
    return *this;
}

const std::string& TStringList::operator[](int index) const {
    if (index < 0 || index >= Count()) throw EListError("list index out of bounds (" + std::to_string(index) + ")");
    return lines_[std::size_t(index)];
}

void TStringList::Put(int index, std::string line) {
    if (index < 0 || index >= Count()) throw EListError("list index out of bounds (" + std::to_string(index) + ")");
    lines_[std::size_t(index)] = std::move(line);
    Changed();
}

int TStringList::Add(std::string line) {
    lines_.push_back(std::move(line));
    Changed();
    return Count() - 1;
}

void TStringList::Insert(int index, std::string line) {
    if (index < 0 || index > Count()) throw EListError("list index out of bounds (" + std::to_string(index) + ")");
    lines_.insert(lines_.begin() + index, std::move(line));
    Changed();
}

void TStringList::Delete(int index) {
    if (index < 0 || index >= Count()) throw EListError("list index out of bounds (" + std::to_string(index) + ")");
    lines_.erase(lines_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (lines_.empty()) return;
    lines_.clear();
    Changed();
}

int TStringList::IndexOf(const std::string& line) const {
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i] == line) return int(i);
    return -1;
}

std::string TStringList::Text() const {
    std::string out;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i) out += "\r\n";
        out += lines_[i];
    }
    return out;
}

void TStringList::SetText(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0, i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(text.substr(start, i - start));
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    SetLines(std::move(lines));
}

void TStringList::SetLines(std::vector<std::string> lines) {
    lines_ = std::move(lines);
    Changed();
}

void TStringList::Assign(const TPersistent& source) {
    if (auto* other = dynamic_cast<const TStringList*>(&source)) {
        if (other != this) lines_ = other->lines_;
        Changed();
        return;
    }
    AssignError(source, "TStringList");
}

void TStringList::Changed() { OnChange(this); }
