#pragma once
// Holds an object's update (BeginUpdate ... EndUpdate) for one scope, also when the
// scope is left by an exception. Works for anything with BeginUpdate and EndUpdate.
#include <exception>

namespace ClassLib {

template <class T>
class TUpdateScope {
public:
    explicit TUpdateScope(T& target) : FTarget(target), FExceptions(std::uncaught_exceptions()) {
        FTarget.BeginUpdate();
    }
    // Ending an update may fire change events. On the normal path their exceptions reach
    // the caller; while another exception is already leaving the scope a second one would
    // end the program, so that one is dropped and the first goes on.
    ~TUpdateScope() noexcept(false) {
        if (std::uncaught_exceptions() > FExceptions) {
            try {
                FTarget.EndUpdate();
            } catch (...) {
            }
        } else {
            FTarget.EndUpdate();
        }
    }
    TUpdateScope(const TUpdateScope&) = delete;
    TUpdateScope& operator=(const TUpdateScope&) = delete;
private:
    T& FTarget;
    int FExceptions;  // exceptions in flight when the scope began
};

// Sets a flag (a re-entrancy mark by default) for one scope and puts its old value back,
// also when the scope is left by an exception.
class TFlagScope {
public:
    explicit TFlagScope(bool& flag, bool value = true) : FFlag(flag), FOld(flag) { flag = value; }
    ~TFlagScope() { FFlag = FOld; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;
private:
    bool& FFlag;
    bool FOld;
};

}  // namespace ClassLib
