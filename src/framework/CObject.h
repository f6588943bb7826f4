#pragma once

class CObject;

/// What the framework knows of a class at run time: its name, and how to make an object of it
/// when the class is dynamically creatable. Instances are constants made by the macros below.
struct CRuntimeClass {
    const char* className;
    /// Makes a default object of the class; null when the class is not creatable.
    CObject* (*createObject)();

    /// A new default object of the class, owned by the caller; null when not creatable.
    CObject* CreateObject() const { return createObject != nullptr ? createObject() : nullptr; }
};

/// The root of the framework's classes that can be made by their run-time class.
class CObject {
public:
    static const CRuntimeClass classCObject;

    virtual ~CObject() = default;
    /// The run-time class of the object's dynamic type.
    virtual const CRuntimeClass* GetRuntimeClass() const;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

/// The run-time class of a class declared with DECLARE_DYNCREATE.
#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

/// Inside a class body: gives the class a run-time class that can create it. The class must be
/// default-constructible; pair with IMPLEMENT_DYNCREATE in one source file. What follows the
/// macro is private until the next access specifier.
#define DECLARE_DYNCREATE(class_name)                      \
public:                                                    \
    static const CRuntimeClass class##class_name;          \
    static CObject* CreateObject();                        \
    const CRuntimeClass* GetRuntimeClass() const override; \
                                                           \
private:

/// In one source file: defines the run-time class named after the class.
#define IMPLEMENT_DYNCREATE(class_name)                                                           \
    const CRuntimeClass class_name::class##class_name { #class_name, &class_name::CreateObject }; \
    CObject* class_name::CreateObject() {                                                         \
        return new class_name;                                                                    \
    }                                                                                             \
    const CRuntimeClass* class_name::GetRuntimeClass() const {                                    \
        return RUNTIME_CLASS(class_name);                                                         \
    }
