// The runtime's root: text, exceptions, the object root and event types.
#pragma once

#include "Types.h"

#include <QChar>
#include <QString>
#include <exception>
#include <functional>

using String = QString;
using Char = QChar;

// Base of every error the class library raises; carries its message.
class Exception : public std::exception {
public:
    explicit Exception(const String& msg) : FMessage(msg), FUtf8(msg.toUtf8()) {}
    virtual ~Exception() = default;
    const String& Message() const { return FMessage; }
    const char* what() const noexcept override { return FUtf8.constData(); }

private:
    String FMessage;
    QByteArray FUtf8;
};

class EConvertError : public Exception {
    using Exception::Exception;
};
class EListError : public Exception {
    using Exception::Exception;
};
class EInvalidCast : public Exception {
    using Exception::Exception;
};
class EInvalidOperation : public Exception {
    using Exception::Exception;
};
class EAbort : public Exception {
    using Exception::Exception;
};
class EOSError : public Exception {
    using Exception::Exception;
};
class EStreamError : public Exception {
    using Exception::Exception;
};
class EFOpenError : public EStreamError {
    using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
    using EStreamError::EStreamError;
};
class EReadError : public EStreamError {
    using EStreamError::EStreamError;
};
class EThread : public Exception {
    using Exception::Exception;
};
class EResNotFound : public Exception {
    using Exception::Exception;
};

class TObject;

// Events are method pointers in the class library; here any callable, testable with Assigned.
template <class... Args> using TEvent = std::function<void(Args...)>;
using TNotifyEvent = TEvent<TObject*>;

template <class F> inline bool Assigned(const F& f) {
    return static_cast<bool>(f);
}
template <class T> inline bool Assigned(T* p) {
    return p != nullptr;
}

// Root of the object model. ClassName answers the class's own name (as declared in C++,
// without namespace), so that code comparing class names sees the platform's names.
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    String ClassName() const;

    // Frees the object when it exists; safe on nullptr. Runs BeforeDestruction first, so that a
    // component is marked as being destroyed before any of its destructors run. Objects of the
    // class library are freed this way, not with a bare delete.
    static void Free(TObject* obj) {
        if (!obj) return;
        obj->BeforeDestruction();
        delete obj;
    }
    virtual void BeforeDestruction() {}
};

// FreeAndNil of the class library.
template <class T> inline void FreeAndNil(T*& obj) {
    T* tmp = obj;
    obj = nullptr;
    TObject::Free(tmp);
}

// "obj is T" and "obj as T" of the class library.
template <class T> inline bool Is(const TObject* obj) {
    return dynamic_cast<const T*>(obj) != nullptr;
}
template <class T> T* As(TObject* obj);

// Base of objects that can copy themselves from another of a compatible class.
class TPersistent : public TObject {
public:
    // Copies Source into this object; the default asks Source to assign itself to this
    // object, and failing that raises "Cannot assign a X to a Y".
    virtual void Assign(TPersistent* Source);

protected:
    virtual void AssignTo(TPersistent* Dest);
    virtual TPersistent* GetOwner() { return nullptr; }
};

template <class T> T* As(TObject* obj) {
    if (!obj) return nullptr;
    T* t = dynamic_cast<T*>(obj);
    if (!t) throw EInvalidCast("Invalid class typecast");
    return t;
}
