// Sample windows for reviewers: the main window (inactive) with its toolbar, status bar and a
// context menu, and a dialog (active) with tabs, a list view, scroll bars, buttons, check and
// radio marks, a combo box, a spin edit, a progress bar and a track bar. Every element is taken
// from the finished skin and composed with the same nine-grid and frame rules the engine uses;
// text is shown as grey bars because no font renderer is at hand.
#include "SkinPreview.h"

#include "Artwork.h"
#include "SkinMetrics.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

struct TMargins {
    int L = 0, T = 0, R = 0, B = 0;
};

struct TBox {
    int X = 0, Y = 0, W = 0, H = 0;
};

// ---- reading the skin ---------------------------------------------------------------------

class TSkinView {
public:
    explicit TSkinView(const TSkin& skin) : FSkin(skin) {}

    std::string Value(std::string_view section, std::string_view key) const {
        if (const TIniSection* s = FSkin.FindSection(section))
            for (const TIniKey& k : s->Keys)
                if (k.Name == key)
                    return k.Value;
        return {};
    }
    int Int(std::string_view section, std::string_view key, int fallback = 0) const {
        const std::string v = Value(section, key);
        return v.empty() ? fallback : std::atoi(v.c_str());
    }
    const TSkinBitmap& Image(std::string_view section, std::string_view key) const {
        const std::string name = Value(section, key);
        for (const TSkinImage& image : FSkin.Images())
            if (image.FileName == name)
                return image.Bitmap;
        throw std::invalid_argument("the preview needs [" + std::string(section) + "] " + std::string(key));
    }
    TMargins Margins(std::string_view section) const {
        return {Int(section, "LeftWidth"), Int(section, "TopHeight"), Int(section, "RightWidth"),
                Int(section, "BottomHeight")};
    }

private:
    const TSkin& FSkin;
};

// ---- the engine's drawing rules, on 24-bit pictures ------------------------------------------

TSkinBitmap FrameOf(const TSkinBitmap& img, int frames, int index, bool vertical) {
    const int fw = vertical ? img.Width() : img.Width() / frames;
    const int fh = vertical ? img.Height() / frames : img.Height();
    return img.Crop(vertical ? 0 : fw * (index - 1), vertical ? fh * (index - 1) : 0, fw, fh);
}

// Nearest-neighbour stretch of a source area into a destination area.
void StretchInto(TSkinBitmap& dst, const TBox& to, const TSkinBitmap& src, const TBox& from) {
    if (to.W <= 0 || to.H <= 0 || from.W <= 0 || from.H <= 0)
        return;
    for (int y = 0; y < to.H; ++y)
        for (int x = 0; x < to.W; ++x) {
            const int dx = to.X + x, dy = to.Y + y;
            if (dx >= 0 && dy >= 0 && dx < dst.Width() && dy < dst.Height())
                dst.Set(dx, dy, src.At(from.X + x * from.W / to.W, from.Y + y * from.H / to.H));
        }
}

// The nine-grid composition: corners fixed, edges and centre stretched (or the centre tiled).
TSkinBitmap NineGrid(const TSkinBitmap& img, int frames, int index, bool vertical, TMargins m, int w, int h,
                     bool tile = false) {
    const TSkinBitmap f = FrameOf(img, frames, index, vertical);
    const int fw = f.Width(), fh = f.Height();
    if (w < m.L + m.R)
        m.L = m.R = 0;
    if (h < m.T + m.B)
        m.T = m.B = 0;
    TSkinBitmap out(w, h);
    StretchInto(out, {0, 0, m.L, m.T}, f, {0, 0, m.L, m.T});
    StretchInto(out, {0, h - m.B, m.L, m.B}, f, {0, fh - m.B, m.L, m.B});
    StretchInto(out, {w - m.R, 0, m.R, m.T}, f, {fw - m.R, 0, m.R, m.T});
    StretchInto(out, {0, m.T, m.L, h - m.T - m.B}, f, {0, m.T, m.L, fh - m.T - m.B});
    StretchInto(out, {m.L, 0, w - m.L - m.R, m.T}, f, {m.L, 0, fw - m.L - m.R, m.T});
    const TBox centre{m.L, m.T, w - m.L - m.R, h - m.T - m.B};
    const TBox source{m.L, m.T, fw - m.L - m.R, fh - m.T - m.B};
    if (tile && source.W > 0 && source.H > 0) {
        for (int y = centre.Y; y < centre.Y + centre.H; y += source.H)
            for (int x = centre.X; x < centre.X + centre.W; x += source.W)
                StretchInto(out, {x, y, source.W, source.H}, f, source);
    } else {
        StretchInto(out, centre, f, source);
    }
    StretchInto(out, {w - m.R, h - m.B, m.R, m.B}, f, {fw - m.R, fh - m.B, m.R, m.B});
    StretchInto(out, {w - m.R, m.T, m.R, h - m.T - m.B}, f, {fw - m.R, m.T, m.R, fh - m.T - m.B});
    StretchInto(out, {m.L, h - m.B, w - m.L - m.R, m.B}, f, {m.L, fh - m.B, fw - m.L - m.R, m.B});
    return out;
}

void Put(TSkinBitmap& dst, const TSkinBitmap& src, int x, int y, bool transparent) {
    if (transparent)
        dst.BlitTransparent(src, x, y);
    else
        dst.Blit(src, x, y);
}

// An element over a box: its image, margins and transparency from its section.
void Element(TSkinBitmap& dst, const TSkinView& skin, std::string_view section, std::string_view key,
             int frames, int index, const TBox& box) {
    const bool trans = skin.Int(section, "Trans") == 1;
    Put(dst, NineGrid(skin.Image(section, key), frames, index, false, skin.Margins(section), box.W, box.H),
        box.X, box.Y, trans);
}

// One frame stretched over a box (caption buttons, arrows, spin buttons).
void StripFrame(TSkinBitmap& dst, const TSkinBitmap& img, int frames, int index, const TBox& box) {
    TSkinBitmap out(box.W, box.H);
    const TSkinBitmap f = FrameOf(img, frames, index, false);
    StretchInto(out, {0, 0, box.W, box.H}, f, {0, 0, f.Width(), f.Height()});
    dst.BlitTransparent(out, box.X, box.Y);
}

// One frame at its own size, centred in a box.
void Glyph(TSkinBitmap& dst, const TSkinBitmap& img, int frames, int index, const TBox& box) {
    const TSkinBitmap f = FrameOf(img, frames, index, false);
    dst.BlitTransparent(f, box.X + (box.W - f.Width()) / 2, box.Y + (box.H - f.Height()) / 2);
}

// ---- plain painting -----------------------------------------------------------------------

void FillBox(TSkinBitmap& dst, const TBox& b, TRgb c) {
    for (int y = std::max(0, b.Y); y < std::min(dst.Height(), b.Y + b.H); ++y)
        for (int x = std::max(0, b.X); x < std::min(dst.Width(), b.X + b.W); ++x)
            dst.Set(x, y, c);
}

void FrameBox(TSkinBitmap& dst, const TBox& b, TRgb c) {
    FillBox(dst, {b.X, b.Y, b.W, 1}, c);
    FillBox(dst, {b.X, b.Y + b.H - 1, b.W, 1}, c);
    FillBox(dst, {b.X, b.Y, 1, b.H}, c);
    FillBox(dst, {b.X + b.W - 1, b.Y, 1, b.H}, c);
}

TRgb Blend(TRgb under, TRgb over, float a) {
    auto mix = [a](std::uint8_t u, std::uint8_t o) {
        return static_cast<std::uint8_t>(u + (o - u) * a + 0.5f);
    };
    return {mix(under.R, over.R), mix(under.G, over.G), mix(under.B, over.B)};
}

// Greeked text: a bar of the text's colour, lighter than the letters would be.
void Text(TSkinBitmap& dst, int x, int y, int width, TRgb colour) {
    for (int yy = y; yy < y + 5 && yy < dst.Height(); ++yy)
        for (int xx = x; xx < x + width && xx < dst.Width(); ++xx)
            dst.Set(xx, yy, Blend(dst.At(xx, yy), colour, 0.55f));
}

// Artwork with alpha (toolbar images, the window icon) over what is already drawn.
void DrawArt(TSkinBitmap& dst, const art::Image& img, int x0, int y0) {
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x) {
            const art::Color& c = img.At(x, y);
            if (x0 + x < dst.Width() && y0 + y < dst.Height() && c.a > 0)
                dst.Set(x0 + x, y0 + y, Blend(dst.At(x0 + x, y0 + y), ToRgb(c), c.a));
        }
}

// ---- windows ------------------------------------------------------------------------------

struct TWindowLook {
    bool Active = true;
    bool Dialog = false; // no icon, no minimize or maximize
    int HotButton = -1;  // index in the caption buttons drawn, or -1
};

// Frame, title and caption buttons of a window at `box`; returns the client box. Pixels of the
// key colour in the borders are cut from the window, as the window region does.
TBox DrawWindow(TSkinBitmap& dst, const TSkinView& skin, const TBox& box, const TWindowLook& look) {
    const int frame = look.Active ? 1 : 2;
    const TSkinBitmap& left = skin.Image("Personality", "Left");
    const TSkinBitmap& right = skin.Image("Personality", "Right");
    const TSkinBitmap& top = skin.Image("Personality", "Top");
    const TSkinBitmap& bottom = skin.Image("Personality", "Bottom");
    const int L = left.Width() / 2, R = right.Width() / 2, T = top.Height() / 2, B = bottom.Height() / 2;
    auto side = [&](const char* prefix) {
        return TMargins{0, skin.Int("Personality", std::string(prefix) + "TopHeight"), 0,
                        skin.Int("Personality", std::string(prefix) + "BotHeight")};
    };
    auto ends = [&](const char* prefix) {
        return TMargins{skin.Int("Personality", std::string(prefix) + "TopHeight"), 0,
                        skin.Int("Personality", std::string(prefix) + "BotHeight"), 0};
    };
    TSkinBitmap win(box.W, box.H);
    win.Blit(NineGrid(left, 2, frame, false, side("Left"), L, box.H), 0, 0);
    win.Blit(NineGrid(right, 2, frame, false, side("Right"), R, box.H), box.W - R, 0);
    win.Blit(NineGrid(bottom, 2, frame, true, ends("Bottom"), box.W - L - R, B), L, box.H - B);
    win.Blit(NineGrid(top, 2, frame, true, ends("Top"), box.W - L - R, T), L, 0);
    // Caption buttons in the order the INI lists them.
    int drawn = 0;
    for (const char* section : {"ButtonClose", "ButtonMaximize", "ButtonMinimize", "ButtonSysMenu"}) {
        const int action = skin.Int(section, "Action");
        if (look.Dialog && action != 0)
            continue;
        const TSkinBitmap& img = skin.Image(section, "ButtonImage");
        const int frames = skin.Int(section, "frame", 1);
        const int w = img.Width() / frames, h = img.Height();
        const int x = skin.Int(section, "Align") == 1 ? box.W - skin.Int(section, "Xcoord")
                                                      : skin.Int(section, "Xcoord");
        const int y = skin.Int(section, "Ycoord");
        int index = look.Active || frames < 4 ? 1 : 4;
        if (drawn++ == look.HotButton)
            index = 3;
        if (action == 3) // the window's own icon is drawn in the button's place
            DrawArt(win, art::AppIcon(w), x, y);
        else
            StripFrame(win, img, frames, index, {x, y, w, h});
    }
    // The client area stays the application's; the region cuts the key colour of the borders.
    for (int y = 0; y < box.H; ++y)
        for (int x = 0; x < box.W; ++x) {
            const bool inClient = x >= L && x < box.W - R && y >= T && y < box.H - B;
            if (!inClient && win.At(x, y) != KeyColour)
                dst.Set(box.X + x, box.Y + y, win.At(x, y));
        }
    return {box.X + L, box.Y + T, box.W - L - R, box.H - T - B};
}

struct TColours {
    TRgb Face, Window, Text, Muted, Accent, Shadow, HilightText;
};

void PushButton(TSkinBitmap& dst, const TSkinView& skin, const TColours& c, const TBox& b, int frame,
                int textWidth) {
    Element(dst, skin, "Buttons", "Bitmap", 5, frame, b);
    Text(dst, b.X + (b.W - textWidth) / 2, b.Y + b.H / 2 - 2, textWidth, frame == 3 ? c.Shadow : c.Text);
}

void Mark(TSkinBitmap& dst, const TSkinView& skin, const TColours& c, bool radio, int frame, int x, int y,
          int textWidth) {
    const TSkinBitmap& img = skin.Image("Buttons", radio ? "RadioButton" : "CheckButton");
    const int frames = skin.Int("Buttons", radio ? "RadioButtonFrame" : "CheckButtonFrame");
    StripFrame(dst, img, frames, frame, {x, y, img.Width() / frames, img.Height()});
    Text(dst, x + img.Width() / frames + 5, y + 4, textWidth, c.Text);
}

// The combo box as the engine composes it at load time: the edit frame with the button and
// arrow over its right end, the text area keyed out; then stretched over the control.
void ComboBox(TSkinBitmap& dst, const TSkinView& skin, const TColours& c, const TBox& b, int state) {
    using namespace skin;
    const int w = ComboButtonWidth;
    TSkinBitmap cell(ComboCellWidth, ComboCellHeight);
    cell.Blit(NineGrid(skin.Image("SunkEdge", "Image"), 4, state, false, skin.Margins("SunkEdge"),
                       ComboCellWidth, ComboCellHeight),
              0, 0);
    cell.BlitTransparent(NineGrid(skin.Image("ComboButton", "Image"), 4, state, false,
                                  skin.Margins("ComboButton"), w, ComboCellHeight),
                         ComboCellWidth - w, 0);
    Glyph(cell, skin.Image("ExtraImages", "Image"), 5, state, {ComboCellWidth - w, 0, w, ComboCellHeight});
    FillBox(cell, {2, 2, ComboCellWidth - w - 3, 16}, KeyColour);
    const TMargins sunk = skin.Margins("SunkEdge");
    FillBox(dst, b, c.Window);
    dst.BlitTransparent(NineGrid(cell, 1, 1, false, {2, sunk.T, w + 2, sunk.B}, b.W, b.H), b.X, b.Y);
    Text(dst, b.X + 6, b.Y + b.H / 2 - 2, 52, c.Text);
}

void ScrollBar(TSkinBitmap& dst, const TSkinView& skin, const TBox& b, bool vertical, int thumbAt,
               int thumbLength, int hotPart) {
    const TSkinBitmap& parts = skin.Image("Scrollbar", "Image");
    const int a = skin::ScrollSize, length = vertical ? b.H : b.W;
    const TBox track = vertical ? TBox{b.X, b.Y + a, b.W, b.H - 2 * a} : TBox{b.X + a, b.Y, b.W - 2 * a, b.H};
    Element(dst, skin, vertical ? "VertScroll" : "HorzScroll", "Image", 4, 1, track);
    const int first = vertical ? 9 : 1, second = vertical ? 13 : 5;
    StripFrame(dst, parts, 23, first + (hotPart == 0 ? 3 : 0),
               vertical ? TBox{b.X, b.Y, a, a} : TBox{b.X, b.Y, a, a});
    StripFrame(dst, parts, 23, second + (hotPart == 1 ? 3 : 0),
               vertical ? TBox{b.X, b.Y + length - a, a, a} : TBox{b.X + length - a, b.Y, a, a});
    const int thumbFrame = hotPart == 5 ? 3 : 1;
    const TBox thumb =
        vertical ? TBox{b.X, b.Y + thumbAt, a, thumbLength} : TBox{b.X + thumbAt, b.Y, thumbLength, a};
    Element(dst, skin, vertical ? "VertScrollThumb" : "HorzScrollThumb", "Image", 3, thumbFrame, thumb);
    const int grip = (vertical ? 20 : 17) + (hotPart == 5 ? 2 : 0);
    const int offset = (thumbLength - a) / 2;
    StripFrame(dst, parts, 23, grip,
               vertical ? TBox{b.X, b.Y + thumbAt + offset, a, a} : TBox{b.X + thumbAt + offset, b.Y, a, a});
}

void MainWindow(TSkinBitmap& dst, const TSkinView& skin, const TSkinPalette& palette, const TColours& c) {
    const TBox client = DrawWindow(dst, skin, {16, 16, 780, 537}, {false, false, -1});
    FillBox(dst, client, c.Window);
    // Toolbar: four buttons of 79 x 70 with 8-pixel separators; the second one under the mouse.
    int x = client.X + 8;
    for (int i : {0, 1, 3, 2}) {
        const TBox button{x, client.Y + 2, 79, 70};
        if (i == 1)
            Element(dst, skin, "Buttons", "Bitmap", 5, 4,
                    {button.X + 1, button.Y + 1, button.W - 2, button.H - 2});
        DrawArt(dst, art::ToolbarImage(i), x + 11, button.Y + 4);
        Text(dst, x + 14, button.Y + 58, 51, c.Text);
        x += 79 + 8;
    }
    FillBox(dst, {client.X, client.Y + 77, client.W, 2}, ToRgb(palette.Line));
    // The web page: a banner and a few paragraphs.
    const TBox page{client.X, client.Y + 79, client.W, client.H - 79 - 22};
    FillBox(dst, {page.X + 24, page.Y + 20, page.W - 48, 90},
            ToRgb(art::Mix(palette.Window, palette.Accent, 0.10f)));
    Text(dst, page.X + 44, page.Y + 50, 260, c.Accent);
    Text(dst, page.X + 44, page.Y + 66, 180, c.Muted);
    for (int line = 0; line < 8; ++line)
        Text(dst, page.X + 24, page.Y + 140 + 18 * line, line % 3 == 2 ? 320 : 560, c.Muted);
    // Status bar: two panels, the last runs to the right edge, with the size grip.
    const TBox bar{client.X, client.Y + client.H - 22, client.W, 22};
    FillBox(dst, bar, c.Face);
    Element(dst, skin, "StatusBarEdges", "Image", 3, 1, {bar.X, bar.Y, 152, bar.H});
    Element(dst, skin, "StatusBarEdges", "Image", 3, 1, {bar.X + 152, bar.Y, bar.W - 152, bar.H});
    Text(dst, bar.X + 16, bar.Y + 9, 100, c.Muted);
    Text(dst, bar.X + 156, bar.Y + 9, 300, c.Muted);
    const TSkinBitmap& extra = skin.Image("ExtraImages", "Image");
    StripFrame(dst, extra, 5, 5, {bar.X + bar.W - 13, bar.Y + bar.H - 13, 12, 12});
}

void ContextMenu(TSkinBitmap& dst, const TSkinView& skin, const TColours& c, const TBox& b) {
    Put(dst,
        NineGrid(skin.Image("MenuBackground", "Image"), 1, 1, false, skin.Margins("MenuBackground"), b.W,
                 b.H),
        b.X, b.Y, false);
    int y = b.Y + 3;
    const TSkinBitmap& items = skin.Image("MenuItem", "Image");
    const TMargins m = skin.Margins("MenuItem");
    for (int i = 0; i < 5; ++i) {
        const bool separator = i == 2;
        const int h = separator ? 8 : 22;
        const TBox item{b.X + 3, y, b.W - 6, h};
        if (separator) {
            // Short separators take the image's bottom rows.
            const TSkinBitmap f = FrameOf(items, 5, 2, false);
            TSkinBitmap sep(item.W, h);
            StretchInto(sep, {0, 0, m.L, h}, f, {0, f.Height() - h, m.L, h});
            StretchInto(sep, {item.W - m.R, 0, m.R, h}, f, {f.Width() - m.R, f.Height() - h, m.R, h});
            StretchInto(sep, {m.L, 0, item.W - m.L - m.R, h}, f,
                        {m.L, f.Height() - h, f.Width() - m.L - m.R, h});
            dst.BlitTransparent(sep, item.X, item.Y);
        } else {
            Element(dst, skin, "MenuItem", "Image", 5, i == 1 ? 4 : 1, item);
            const TRgb text = i == 1 ? c.HilightText : i == 4 ? c.Shadow : c.Text;
            Text(dst, item.X + m.L + 1 + 16 + 3, item.Y + 9, i == 3 ? 70 : 90, text);
            if (i == 0) // a checked item shows the system check mark; a small square stands in for it
                FillBox(dst, {item.X + m.L + 6, item.Y + 8, 6, 6}, c.Text);
        }
        y += h;
    }
}

void Dialog(TSkinBitmap& dst, const TSkinView& skin, const TSkinPalette& palette, const TColours& c) {
    const TBox client = DrawWindow(dst, skin, {560, 130, 460, 400}, {true, true, 0});
    FillBox(dst, client, c.Face);
    const int x0 = client.X, y0 = client.Y;
    // Tabs: selected, normal, normal under the mouse; the page frame below them.
    const TBox pane{x0 + 10, y0 + 32, client.W - 20, 196};
    Put(dst, NineGrid(skin.Image("Tabs", "Border"), 1, 1, false, {4, 5, 4, 4}, pane.W, pane.H), pane.X,
        pane.Y, false);
    const TBox tabs[] = {{x0 + 12, y0 + 10, 84, 22}, {x0 + 96, y0 + 12, 78, 20}, {x0 + 174, y0 + 12, 70, 20}};
    const int tabFrames[] = {2, 1, 4};
    for (int i = 0; i < 3; ++i) {
        Element(dst, skin, "Tabs", "Image", 5, tabFrames[i], tabs[i]);
        Text(dst, tabs[i].X + 14, tabs[i].Y + tabs[i].H / 2 - 1, tabs[i].W - 28, i == 0 ? c.Text : c.Muted);
    }
    // A list view with its header and both scroll bars.
    const TBox list{pane.X + 10, pane.Y + 10, pane.W - 20, pane.H - 20};
    FrameBox(dst, list, c.Shadow);
    FrameBox(dst, {list.X + 1, list.Y + 1, list.W - 2, list.H - 2}, c.Face);
    const TBox inner{list.X + 2, list.Y + 2, list.W - 4 - skin::ScrollSize, list.H - 4 - skin::ScrollSize};
    FillBox(dst, inner, c.Window);
    const int columns[] = {150, 110, inner.W - 260};
    int hx = inner.X;
    for (int i = 0; i < 3; ++i) {
        const TSkinBitmap item = NineGrid(skin.Image("Headerbar", "Image"), 5, i == 1 ? 2 : 1, false,
                                          skin.Margins("Headerbar"), columns[i], 22);
        dst.Blit(item, hx, inner.Y);
        Text(dst, hx + 6, inner.Y + 9, columns[i] / 2, c.Text);
        hx += columns[i];
    }
    for (int row = 0; row < 6; ++row) {
        const int y = inner.Y + 24 + row * 18;
        if (row == 1)
            FillBox(dst, {inner.X, y - 1, inner.W, 18}, c.Accent);
        const TRgb text = row == 1 ? c.HilightText : c.Text;
        FillBox(dst, {inner.X + 4, y + 1, 14, 14},
                ToRgb(art::Mix(palette.Accent, palette.Window, row == 1 ? 0.3f : 0.6f)));
        Text(dst, inner.X + 24, y + 5, 110 - 9 * (row % 3), text);
        Text(dst, inner.X + 154, y + 5, 60, row == 1 ? text : c.Muted);
        Text(dst, inner.X + 264, y + 5, 40, row == 1 ? text : c.Muted);
    }
    ScrollBar(dst, skin, {inner.X + inner.W, inner.Y, skin::ScrollSize, inner.H}, true, 24, 60, 5);
    ScrollBar(dst, skin, {inner.X, inner.Y + inner.H, inner.W, skin::ScrollSize}, false, 40, 120, 1);
    FillBox(dst, {inner.X + inner.W, inner.Y + inner.H, skin::ScrollSize, skin::ScrollSize}, c.Face);
    // Options under the tabs.
    Mark(dst, skin, c, true, 5, x0 + 14, y0 + 240, 70);
    Mark(dst, skin, c, true, 1, x0 + 14, y0 + 262, 60);
    ComboBox(dst, skin, c, {x0 + 104, y0 + 257, 110, 22}, 4);
    Mark(dst, skin, c, false, 5, x0 + 14, y0 + 288, 90);
    Mark(dst, skin, c, false, 1, x0 + 134, y0 + 288, 64);
    // A spin edit, a progress bar and a track bar on the right.
    const TBox edit{x0 + 250, y0 + 238, 70, 22};
    FillBox(dst, edit, c.Window);
    FrameBox(dst, edit, c.Shadow);
    Text(dst, edit.X + 6, edit.Y + 9, 20, c.Text);
    const TSkinBitmap& spin = skin.Image("UpDown.Vert", "Image");
    const TSkinBitmap& spinGlyphs = skin.Image("UpDown.Vert", "GlyphImage");
    const TBox spinBox{edit.X + edit.W - 3 - 16, edit.Y + 3, 16, edit.H - 6};
    const TBox upper{spinBox.X, spinBox.Y, spinBox.W, spinBox.H / 2};
    const TBox lower{spinBox.X, spinBox.Y + spinBox.H / 2, spinBox.W, spinBox.H - spinBox.H / 2};
    StripFrame(dst, spin, 8, 4, upper);
    Glyph(dst, spinGlyphs, 8, 4, upper);
    StripFrame(dst, spin, 8, 5, lower);
    Glyph(dst, spinGlyphs, 8, 5, lower);
    const TBox progress{x0 + 250, y0 + 270, 186, 16};
    Element(dst, skin, "Progress", "Bitmap", 2, 1, progress);
    Element(dst, skin, "Progress", "Bitmap", 2, 2,
            {progress.X, progress.Y, progress.W * 62 / 100, progress.H});
    const TSkinBitmap& channel = skin.Image("Track", "Image");
    const TBox trackBox{x0 + 256, y0 + 300, 174, channel.Height()};
    dst.Blit(NineGrid(channel, 1, 1, false,
                      {skin.Int("Track", "LeftWidth"), 0, skin.Int("Track", "RightWidth"), 0}, trackBox.W,
                      trackBox.H),
             trackBox.X, trackBox.Y);
    const TSkinBitmap& thumb = skin.Image("Trackbar.ThumbHorz", "Image");
    StripFrame(dst, thumb, 5, 2,
               {trackBox.X + 64, trackBox.Y + 2 - thumb.Height() / 2, thumb.Width() / 5, thumb.Height()});
    // Buttons: focused default, under the mouse, disabled.
    const int by = client.Y + client.H - 34;
    PushButton(dst, skin, c, {client.X + client.W - 3 * 84, by, 76, 24}, 5, 22);
    PushButton(dst, skin, c, {client.X + client.W - 2 * 84, by, 76, 24}, 4, 36);
    PushButton(dst, skin, c, {client.X + client.W - 84, by, 76, 24}, 3, 30);
    PushButton(dst, skin, c, {client.X + 10, by, 76, 24}, 1, 40);
}

} // namespace

TSkinBitmap DrawPreview(const TSkin& skin, const TSkinPalette& palette) {
    const TSkinView view(skin);
    const TColours c{ToRgb(palette.Face),      ToRgb(palette.Window), ToRgb(palette.Text),
                     ToRgb(palette.TextMuted), ToRgb(palette.Accent), ToRgb(palette.Border),
                     ToRgb(palette.OnAccent)};
    constexpr int W = 1040, H = 570;
    art::Image desk(W, H);
    desk.Fill(art::RoundRect(-1, -1, W + 1.f, H + 1.f, 0),
              art::Linear({0, 0}, art::Color::Rgb(0x3E, 0x5C, 0x80), {float(W), float(H)},
                          art::Color::Rgb(0x7B, 0x93, 0xAE)));
    TSkinBitmap out = Flatten(desk, palette.Desktop, -1);
    MainWindow(out, view, palette, c);
    ContextMenu(out, view, c, {150, 230, 170, 6 + 4 * 22 + 8});
    Dialog(out, view, palette, c);
    return out;
}
