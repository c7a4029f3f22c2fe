#pragma once
// Typing aids of the memo that need no window: auto-correct, the checker hooks, the filter and
// accepted text of the completion list, and the three parts of the parameter hint.
#include "classlib/Object.h"
#include "classlib/StringList.h"

#include <string>

namespace AdvMemo {

class TAdvCustomMemo;
class THintParameter;

// A just-typed word replaced by a configured substitute (OldValue and NewValue pair by index).
class TAutoCorrect : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TAutoCorrect, ClassLib::TPersistent)
public:
    void Assign(const ClassLib::TPersistent* source) override;
    bool Active() const { return FActive; }
    void SetActive(bool value) { FActive = value; }
    ClassLib::TStringList& OldValue() { return FOldValue; }
    ClassLib::TStringList& NewValue() { return FNewValue; }
    // Cheap answer for the key handling: nothing to look up without entries.
    bool Wanted() const { return FActive && FOldValue.Count() > 0; }
    // The NewValue paired with the exact (case-sensitive) word in OldValue; false when none.
    bool Lookup(const std::wstring& word, std::wstring& newWord) const;
private:
    bool FActive = true;
    ClassLib::TStringList FOldValue, FNewValue;
};

enum TAutoCorrectType { acNone, acLineCorrect, acLineCheck, acWordCorrect, acWordCheck };

// Hooks an application overrides to check or correct lines and words while the user types.
class TAdvMemoChecker : public ClassLib::TComponent {
    CLASSLIB_CLASS(TAdvMemoChecker, ClassLib::TComponent)
public:
    explicit TAdvMemoChecker(ClassLib::TComponent* owner = nullptr);
    ~TAdvMemoChecker() override;
    TAdvCustomMemo* Memo() const { return FMemo; }
    void SetMemo(TAdvCustomMemo* value);
    TAutoCorrectType AutoCorrectType() const { return FAutoCorrectType; }
    void SetAutoCorrectType(TAutoCorrectType value) { FAutoCorrectType = value; }

    // The base reads the line and clears its error marks; descendants mark errors with SetError.
    virtual void CheckLine(int lineNo);
    virtual void CheckWord(int lineNo, int linePos, const std::wstring& s);
    virtual void CorrectLine(int lineNo);
    virtual void CorrectWord(int lineNo, int linePos, std::wstring& s);
    virtual void CheckAllLines();
    virtual void CorrectAllLines();
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;
protected:
    // Records the line's previous text so that one undo takes a correction back.
    void AddCorrectUndo(int lineNo, const std::wstring& s);
private:
    TAdvCustomMemo* FMemo = nullptr;
    TAutoCorrectType FAutoCorrectType = acNone;
};

// Completion entries read "kind name(parameters)". An entry fits the typed token (upper-cased)
// when its name, after the first blank and after the first ".", starts with the token
// (fromFirstChar) or holds it anywhere; every entry fits an empty token.
bool CompletionEntryFits(const std::wstring& entry, const std::wstring& upperToken, bool fromFirstChar);
// The text an accepted entry inserts: the name, with "()" when the entry has parameters and
// parentheses are allowed (parensAdded tells, so the caret can go between them).
std::wstring CompletionInsertText(const std::wstring& entry, bool allowParens, bool& parensAdded);

// The call around a caret column: the function's name and the index of the parameter the
// caret is in. False when the caret is not inside an open call (after its ")" for instance).
bool FindHintCall(const std::wstring& line, int caretX, const THintParameter& chars, std::wstring& name,
                  int& parameterIndex);
// The first of the styler's signatures for the name (without its class prefix), or empty.
std::wstring FindHintSignature(const std::wstring& name, const THintParameter& chars, bool caseSensitive);
struct THintParts {
    std::wstring Part1, Part2, Part3;
    int Active = 0;  // which part is bold: 2 the current parameter, 1 when it is empty
};
// The signature's parameter list cut around the parameter at `parameterIndex`.
THintParts SplitParameterHint(const std::wstring& signature, int parameterIndex, const THintParameter& chars);

}  // namespace AdvMemo
