#include "chart/Chart/TitleLayout.h"

TRect TitleBox(const TTitleMeasure& m) {
    const int frame = m.FrameWidth;
    TRect box{m.Position.X, m.Position.Y, m.Position.X, m.Position.Y};
    if (!m.CustomPosition) {
        box = m.ChartRect;
        if (!m.IsFoot)
            box.Top += frame;
    }
    const int height = m.Lines * m.LineHeight;
    if (!m.IsFoot || m.CustomPosition)
        box.Bottom = box.Top + height;
    else
        box.Top = box.Bottom - height;

    // The frame sits outside the text box.
    if (!m.CustomPosition) {
        box.Left -= frame;
        box.Top -= frame;
        box.Right += frame;
        box.Bottom += frame;
    }
    if (!m.AdjustFrame)
        return box;
    const int a = m.Padding + frame + m.Widest;
    switch (m.Alignment) {
    case taLeftJustify:
        box.Right = box.Left + a;
        break;
    case taRightJustify:
        box.Left = box.Right - a;
        break;
    case taCenter: {
        if (m.CustomPosition)
            box.Right = box.Left + a;
        const int c = (box.Left + box.Right) / 2;
        box.Left = c - a / 2;
        box.Right = c + a / 2;
        break;
    }
    }
    return box;
}

TPoint TitleLineOrigin(const TTitleMeasure& m, const TRect& box, int line, int textWidth) {
    const int y = m.IsFoot ? box.Bottom - m.LineHeight - (m.FrameWidth + line * m.LineHeight)
                           : box.Top + m.FrameWidth + line * m.LineHeight;
    int x = 0;
    switch (m.Alignment) {
    case taLeftJustify:
        x = box.Left + m.Padding / 2;
        break;
    case taRightJustify:
        x = box.Right - textWidth - m.Padding / 2;
        break;
    case taCenter:
        x = (box.Left + box.Right) / 2 - textWidth / 2;
        break;
    }
    return {x, y};
}

TRect ChartRectAfterTitle(const TTitleMeasure& m, const TRect& box, int shadowHeight) {
    TRect chart = m.ChartRect;
    if (m.CustomPosition)
        return chart;
    const int room = ChartTitleFootDistance + m.FrameWidth + shadowHeight;
    if (m.IsFoot)
        chart.Bottom = box.Bottom - room - m.Lines * m.LineHeight;
    else
        chart.Top = box.Bottom + room;
    return chart;
}
