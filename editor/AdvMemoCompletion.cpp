#include "editor/AdvMemoCompletion.h"

#include "classlib/Strings.h"
#include "editor/AdvMemo.h"
#include "editor/AdvMemoStylers.h"
#include "editor/AdvMemoUndo.h"

#include <algorithm>
#include <memory>

namespace AdvMemo {

// ---------------------------------------------------------------- auto-correct

CLASSLIB_IMPLEMENT(TAutoCorrect, ClassLib::TPersistent)

void TAutoCorrect::Assign(const ClassLib::TPersistent* source) {
    const auto* other = dynamic_cast<const TAutoCorrect*>(source);
    if (!other) {
        ClassLib::TPersistent::Assign(source);
        return;
    }
    FActive = other->FActive;
    FOldValue.Assign(&other->FOldValue);
    FNewValue.Assign(&other->FNewValue);
}

bool TAutoCorrect::Lookup(const std::wstring& word, std::wstring& newWord) const {
    if (!Wanted()) return false;
    // Exact match: the list's own IndexOf ignores case.
    for (int i = 0; i < FOldValue.Count(); ++i) {
        if (FOldValue.Strings(i) != word) continue;
        if (i >= FNewValue.Count()) return false;
        newWord = FNewValue.Strings(i);
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- checker

CLASSLIB_IMPLEMENT(TAdvMemoChecker, ClassLib::TComponent)

TAdvMemoChecker::TAdvMemoChecker(ClassLib::TComponent* owner) : ClassLib::TComponent(owner) {}

TAdvMemoChecker::~TAdvMemoChecker() {
    // The memo drops its pointer too: the free-notification link serves both sides at once.
    if (FMemo && FMemo->MemoChecker() == this) FMemo->SetMemoChecker(nullptr);
    SetMemo(nullptr);
}

void TAdvMemoChecker::SetMemo(TAdvCustomMemo* value) {
    if (value == FMemo) return;
    if (FMemo) FMemo->RemoveFreeNotification(this);
    FMemo = value;
    if (FMemo) FMemo->FreeNotification(this);
}

void TAdvMemoChecker::Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) {
    ClassLib::TComponent::Notification(component, operation);
    if (operation == ClassLib::opRemove && component == FMemo) FMemo = nullptr;
}

void TAdvMemoChecker::CheckLine(int lineNo) {
    if (FMemo && lineNo >= 0 && lineNo < FMemo->Lines()->Count()) FMemo->ClearLineErrors(lineNo);
}

void TAdvMemoChecker::CheckWord(int, int, const std::wstring&) {}
void TAdvMemoChecker::CorrectLine(int) {}
void TAdvMemoChecker::CorrectWord(int, int, std::wstring&) {}

void TAdvMemoChecker::CheckAllLines() {
    for (int i = 0; FMemo && i < FMemo->Lines()->Count(); ++i) CheckLine(i);
}

void TAdvMemoChecker::CorrectAllLines() {
    for (int i = 0; FMemo && i < FMemo->Lines()->Count(); ++i) CorrectLine(i);
}

void TAdvMemoChecker::AddCorrectUndo(int lineNo, const std::wstring& s) {
    if (FMemo) FMemo->UndoList().Add(std::make_unique<TCorrectUndo>(lineNo, s));
}

// ---------------------------------------------------------------- completion entries

namespace {

// The entry's name part: after the kind word and its blank.
std::wstring NamePart(const std::wstring& entry) {
    const size_t blank = entry.find(L' ');
    return blank == std::wstring::npos ? entry : entry.substr(blank + 1);
}

}  // namespace

bool CompletionEntryFits(const std::wstring& entry, const std::wstring& upperToken, bool fromFirstChar) {
    if (upperToken.empty()) return true;
    std::wstring name = ClassLib::AnsiUpperCase(NamePart(entry));
    const size_t dot = name.find(L'.');
    if (dot != std::wstring::npos) name.erase(0, dot + 1);
    const size_t at = name.find(upperToken);
    return fromFirstChar ? at == 0 : at != std::wstring::npos;
}

std::wstring CompletionInsertText(const std::wstring& entry, bool allowParens, bool& parensAdded) {
    const std::wstring rest = NamePart(entry);
    const std::wstring name = rest.substr(0, rest.find_first_of(L" (.:;"));
    parensAdded = allowParens && rest.find(L'(') != std::wstring::npos;
    return parensAdded ? name + L"()" : name;
}

// ---------------------------------------------------------------- parameter hint

bool FindHintCall(const std::wstring& line, int caretX, const THintParameter& chars, std::wstring& name,
                  int& parameterIndex) {
    parameterIndex = 0;
    name.clear();
    int run = 0;  // consecutive blanks or class delimiters: five end the search
    for (int i = std::min(caretX, static_cast<int>(line.size())) - 1; i >= 0; --i) {
        const wchar_t c = line[i];
        if (c == L' ' || c == chars.HintClassDelimiter()) {
            if (++run == 5) return false;
            continue;
        }
        run = 0;
        if (c == chars.HintCharEnd()) return false;
        if (c == chars.HintCharWriteDelimiter()) ++parameterIndex;
        if (c != chars.HintCharStart()) continue;
        int start = i;
        while (start > 0 && line[start - 1] != L' ' && line[start - 1] != chars.HintCharStart() &&
               line[start - 1] != chars.HintCharEnd())
            --start;
        name = ClassLib::Trim(line.substr(start, i - start));
        return !name.empty();
    }
    return false;
}

std::wstring FindHintSignature(const std::wstring& name, const THintParameter& chars, bool caseSensitive) {
    std::wstring key = name;
    const size_t dot = key.rfind(chars.HintClassDelimiter());
    if (dot != std::wstring::npos) key.erase(0, dot + 1);
    if (key.empty() || key.back() != chars.HintCharStart()) key += chars.HintCharStart();
    if (!caseSensitive) key = ClassLib::AnsiUpperCase(key);
    const ClassLib::TStringList& signatures = *chars.Parameters();
    for (int i = 0; i < signatures.Count(); ++i) {
        const std::wstring signature = signatures.Strings(i);
        if ((caseSensitive ? signature : ClassLib::AnsiUpperCase(signature)).rfind(key, 0) == 0) return signature;
    }
    return std::wstring();
}

THintParts SplitParameterHint(const std::wstring& signature, int parameterIndex, const THintParameter& chars) {
    std::wstring list = signature;
    const size_t open = list.find(chars.HintCharStart());
    if (open != std::wstring::npos) list.erase(0, open + 1);
    const size_t close = list.find(chars.HintCharEnd());
    if (close != std::wstring::npos) list.erase(close);
    auto isDelimiter = [&](wchar_t c) { return c == chars.HintCharWriteDelimiter() || c == chars.HintCharDelimiter(); };
    size_t from = 0;
    for (int n = 0; n < parameterIndex && from < list.size(); ++from)
        if (isDelimiter(list[from])) ++n;
    size_t to = from;
    while (to < list.size() && !isDelimiter(list[to])) ++to;
    if (to < list.size()) ++to;  // the delimiter belongs to the parameter it ends
    THintParts parts;
    parts.Part1 = list.substr(0, from);
    parts.Part2 = list.substr(from, to - from);
    parts.Part3 = list.substr(to);
    parts.Active = parts.Part2.empty() ? 1 : 2;
    return parts;
}

// ---------------------------------------------------------------- the memo's side

void TAdvCustomMemo::SetMemoChecker(TAdvMemoChecker* value) {
    if (value == FMemoChecker) return;
    TAdvMemoChecker* old = FMemoChecker;
    FMemoChecker = value;
    if (old && old->Memo() == this) old->SetMemo(nullptr);
    if (value) value->SetMemo(this);
}

void TAdvCustomMemo::RunMemoChecker(bool enter) {
    if (!FMemoChecker || FCurY < 0 || FCurY >= LineCount()) return;
    switch (FMemoChecker->AutoCorrectType()) {
        case acLineCorrect:
            if (!enter) break;
            FMemoChecker->CorrectLine(FCurY);
            SetCurX(static_cast<int>(LineText(FCurY).size()));
            break;
        case acLineCheck:
            if (enter) FMemoChecker->CheckLine(FCurY);
            break;
        case acWordCheck:
        case acWordCorrect: {
            const std::wstring word = WordTillCursor();
            if (word.empty()) break;
            const int linePos = std::max(FCurX - static_cast<int>(word.size()), 0);
            if (FMemoChecker->AutoCorrectType() == acWordCheck) {
                FMemoChecker->CheckWord(FCurY, linePos, word);
                break;
            }
            std::wstring corrected = word;
            FMemoChecker->CorrectWord(FCurY, linePos, corrected);
            if (corrected != word) ReplaceBeforeCaret(static_cast<int>(word.size()), corrected);
            break;
        }
        case acNone:
            break;
    }
}

}  // namespace AdvMemo
