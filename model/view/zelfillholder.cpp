#include "model/view/zelfillholder.h"

#include "model/view/zelbrushfill.h"

TzelFillHolder::TzelFillHolder()
    : FFill(TzelCustomFill::Create(ftBrush))
{
}

TzelFillHolder::TzelFillHolder(const TzelFillHolder &other)
    : FFill(other.FFill->Clone())
{
}

TzelFillHolder &TzelFillHolder::operator=(const TzelFillHolder &other)
{
    if (this != &other)
        FFill = other.FFill->Clone();
    return *this;
}

TzelFillHolder::~TzelFillHolder() = default;

void TzelFillHolder::SetFillType(TzelFillType value)
{
    if (value != FFill->FillType())
        FFill = TzelCustomFill::Create(value);
}

void TzelFillHolder::SetFill(const TzelCustomFill &value)
{
    if (&value == FFill.get())
        return;
    SetFillType(value.FillType());
    FFill->Assign(value);
}

TzelBrushStyle TzelFillHolder::BrushStyle() const
{
    const auto *brush = dynamic_cast<const TzelBrushFill *>(FFill.get());
    return brush ? brush->Style : bsClear;
}

void TzelFillHolder::SetBrushStyle(TzelBrushStyle value)
{
    if (auto *brush = dynamic_cast<TzelBrushFill *>(FFill.get()))
        brush->Style = value;
}
