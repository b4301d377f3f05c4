#include "platform/Bevel.h"
#include "platform/Form.h"
#include "platform/Label.h"
#include "platform/PaintBox.h"

TPaintBox::TPaintBox(TForm& parent)
    : TControl(parent)
{
    SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint(TCanvas& canvas)
{
    if (OnPaint)
        OnPaint(canvas);
}

TBevel::TBevel(TForm& parent)
    : TControl(parent)
{
    SetBounds(0, 0, 50, 50);
}

void TBevel::Paint(TCanvas& canvas)
{
    const TColour shadow = MakeColour(160, 160, 160);
    const TColour light = MakeColour(255, 255, 255);
    const TColour topLeft = Style == TBevelStyle::Lowered ? shadow : light;
    const TColour bottomRight = Style == TBevelStyle::Lowered ? light : shadow;
    const int32_t w = Width();
    const int32_t h = Height();
    canvas.Brush = {topLeft, TBrushStyle::Solid};
    canvas.FillRect({0, 0, w, 1});
    canvas.FillRect({0, 0, 1, h});
    canvas.Brush = {bottomRight, TBrushStyle::Solid};
    canvas.FillRect({0, h - 1, w, h});
    canvas.FillRect({w - 1, 0, w, h});
}

TLabel::TLabel(TForm& parent)
    : TControl(parent)
    , Font(parent.Font)
{
    SetBounds(0, 0, 65, 17);
}

void TLabel::SetCaption(const std::string& caption)
{
    if (caption == FCaption)
        return;
    FCaption = caption;
    Invalidate();
}

void TLabel::Paint(TCanvas& canvas)
{
    if (!Transparent) {
        canvas.Brush = {Color, TBrushStyle::Solid};
        canvas.FillRect(ClientRect());
    }
    canvas.Font = Font;
    canvas.TextRect(ClientRect(), FCaption, Format);
}
