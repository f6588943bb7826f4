#pragma once

#include <iosfwd>

/// The root of the world objects: anything that writes its text element to a stream and reads
/// it back. Objects are made with new and deleted through this class; they are not copied.
class Object {
public:
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    /// Puts out the object's text element; returns out.
    virtual std::ostream& Write(std::ostream& out) const = 0;
    /// Takes in the object's text element.
    virtual void Read(std::istream& in) = 0;
    virtual ~Object() = default;

protected:
    Object() = default;
};

/// object.Write(out).
inline std::ostream& operator<<(std::ostream& out, const Object& object) {
    return object.Write(out);
}

/// object.Read(in).
inline std::istream& operator>>(std::istream& in, Object& object) {
    object.Read(in);
    return in;
}
