#pragma once

/// Base of pens, brushes, regions and bitmaps. An object is either empty or holds one drawing
/// resource; DeleteObject releases it and makes the object empty again, and destroying the
/// object frees whatever it still holds.
/// An object must not be deleted while a surface still has it selected: select the previous
/// one back first.
class CGdiObject {
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject() = default;

    /// Releases the resource; false when the object was empty already.
    bool DeleteObject();

    /// True while the object holds a resource.
    bool IsCreated() const { return created_; }

protected:
    void MarkCreated() { created_ = true; }
    virtual void ReleaseResource() {}

private:
    bool created_ = false;
};
