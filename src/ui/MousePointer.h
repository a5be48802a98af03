#pragma once

#include <QCursor>

// The screen-wide mouse pointer: 0 default, 11 hourglass, 99 the program's own busy icon.
enum PointerShape : int
{
    Default = 0,
    Hourglass = 11,
    Custom = 99
};

class IMousePointer
{
public:
    virtual ~IMousePointer() = default;
    virtual void SetPointer(PointerShape shape) = 0;
    virtual PointerShape Pointer() const = 0;
    // The picture shown for the custom shape.
    virtual void SetCustomIcon(const QCursor& cursor) = 0;
};

// The real pointer: one application-wide override cursor, or none for the default.
class ScreenPointer final : public IMousePointer
{
public:
    void SetPointer(PointerShape shape) override;
    PointerShape Pointer() const override { return shape_; }
    void SetCustomIcon(const QCursor& cursor) override { custom_ = cursor; }

private:
    PointerShape shape_ = PointerShape::Default;
    QCursor custom_{Qt::BusyCursor};
};
