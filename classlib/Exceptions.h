#pragma once
// The class library's exception family: one base with a UTF-16 message, and the
// kinds callers catch by type (list index, conversion, streams, registry, OS calls).
#include <exception>
#include <string>

namespace ClassLib {

class Exception : public std::exception {
public:
    explicit Exception(std::wstring message);
    const std::wstring& Message() const noexcept { return FMessage; }
    void SetMessage(std::wstring message);
    // The message as UTF-8, for code that only knows std::exception.
    const char* what() const noexcept override { return FNarrow.c_str(); }
private:
    std::wstring FMessage;
    std::string FNarrow;
};

// A quiet exception: it unwinds the current operation and the application shows nothing.
class EAbort : public Exception { public: using Exception::Exception; };
[[noreturn]] void Abort();

class EListError : public Exception { public: using Exception::Exception; };
class EConvertError : public Exception { public: using Exception::Exception; };
class EAssignError : public EConvertError { public: using EConvertError::EConvertError; };
class EComponentError : public Exception { public: using Exception::Exception; };
class EClassNotFound : public Exception { public: using Exception::Exception; };
class EPropertyError : public Exception { public: using Exception::Exception; };
class EInvalidOperation : public Exception { public: using Exception::Exception; };
class EArgumentError : public Exception { public: using Exception::Exception; };

class EStreamError : public Exception { public: using Exception::Exception; };
// Carries the system's error code (0 when there is none).
class EFileStreamError : public EStreamError {
public:
    explicit EFileStreamError(std::wstring message, unsigned long errorCode = 0)
        : EStreamError(std::move(message)), FErrorCode(errorCode) {}
    unsigned long ErrorCode() const noexcept { return FErrorCode; }
private:
    unsigned long FErrorCode;
};
class EFOpenError : public EFileStreamError { public: using EFileStreamError::EFileStreamError; };
class EFCreateError : public EFileStreamError { public: using EFileStreamError::EFileStreamError; };
class EReadError : public EStreamError { public: using EStreamError::EStreamError; };
class EWriteError : public EStreamError { public: using EStreamError::EStreamError; };
class EResNotFound : public Exception { public: using Exception::Exception; };

class ERegistryException : public Exception { public: using Exception::Exception; };
class EIniFileException : public Exception { public: using Exception::Exception; };
class EThreadError : public Exception { public: using Exception::Exception; };

class EOSError : public Exception {
public:
    EOSError(std::wstring message, unsigned long errorCode)
        : Exception(std::move(message)), FErrorCode(errorCode) {}
    unsigned long ErrorCode() const noexcept { return FErrorCode; }
private:
    unsigned long FErrorCode;
};

// The system's text for an error code, without the trailing line break.
std::wstring SysErrorMessage(unsigned long errorCode);
// Raises EOSError "<context>: <system text>" (or just the system text without context).
[[noreturn]] void RaiseOSError(unsigned long errorCode, const std::wstring& context = {});
[[noreturn]] void RaiseLastOSError(const std::wstring& context = {});

// "List index out of bounds (%d)".
[[noreturn]] void RaiseListIndexError(int index);

}  // namespace ClassLib
