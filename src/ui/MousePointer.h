#pragma once

#include <QCursor>

// The screen-wide mouse pointer: 0 default, 11 hourglass, 99 the program's own busy icon.
namespace PointerShape
{
constexpr int Default = 0;
constexpr int Hourglass = 11;
constexpr int Custom = 99;
} // namespace PointerShape

class IMousePointer
{
public:
    virtual ~IMousePointer() = default;
    virtual void SetPointer(int shape) = 0;
    virtual int Pointer() const = 0;
    // The picture shown for the custom shape.
    virtual void SetCustomIcon(const QCursor& cursor) = 0;
};

// The real pointer: one application-wide override cursor, or none for the default.
class ScreenPointer final : public IMousePointer
{
public:
    void SetPointer(int shape) override;
    int Pointer() const override { return shape_; }
    void SetCustomIcon(const QCursor& cursor) override { custom_ = cursor; }

private:
    int shape_ = PointerShape::Default;
    QCursor custom_{Qt::BusyCursor};
};
