#include "guiprogram.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Drawing in scripts: pens, brushes and canvases on bitmaps, read back
// through Pixels; pictures in files; metafiles, which no file can fill.

namespace {

struct Program
{
    const char *Language;
    const char *Source;
};

TEST(ScriptGraphics, CanvasDrawingIsReadBackThroughPixels)
{
    // Colours are $00BBGGRR: $0000FF is red.
    const Program programs[] = {
        {"PascalScript", "var b: TBitmap; c: TCanvas; p: TPen;\n"
                         "begin\n"
                         "  b := TBitmap.Create;\n"
                         "  b.Width := 20;\n"
                         "  b.Height := 20;\n"
                         "  c := b.Canvas;\n"
                         "  c.Brush.Color := $0000FF;\n"
                         "  c.Pen.Style := psClear;\n"
                         "  c.Rectangle(0, 0, 10, 10);\n"
                         "  p := TPen.Create;\n"
                         "  p.Color := $00FF00;\n"
                         "  c.Pen := p;\n"
                         "  p.Free;\n"
                         "  c.MoveTo(0, 15);\n"
                         "  c.LineTo(19, 15);\n"
                         "  c.Pen.Mode := pmXor;\n"
                         "  c.Pen.Color := $FFFFFF;\n"
                         "  c.MoveTo(0, 18);\n"
                         "  c.LineTo(19, 18);\n"
                         "  c.Pixels[19, 19] := $123456;\n"
                         "  ShowMessage(Format('%x %x %x %x %x %x', [c.Pixels[0, 0], c.Pixels[9, 9], c.Pixels[10, 10],\n"
                         "    c.Pixels[7, 15], c.Pixels[7, 18], c.Pixels[19, 19]]));\n"
                         "  ShowMessage(IntToStr(c.Pixels[20, 0]) + ' ' + IntToStr(c.Pen.Mode) + ' ' + IntToStr(c.Pen.Style));\n"
                         "  b.Free\n"
                         "end.\n"},
        {"JScript", "var b = new TBitmap, c, p;\n"
                    "b.Width = 20;\n"
                    "b.Height = 20;\n"
                    "c = b.Canvas;\n"
                    "c.Brush.Color = 0x0000FF;\n"
                    "c.Pen.Style = psClear;\n"
                    "c.Rectangle(0, 0, 10, 10);\n"
                    "p = new TPen;\n"
                    "p.Color = 0x00FF00;\n"
                    "c.Pen = p;\n"
                    "p.Free;\n"
                    "c.MoveTo(0, 15);\n"
                    "c.LineTo(19, 15);\n"
                    "c.Pen.Mode = pmXor;\n"
                    "c.Pen.Color = 0xFFFFFF;\n"
                    "c.MoveTo(0, 18);\n"
                    "c.LineTo(19, 18);\n"
                    "c.Pixels[19, 19] = 0x123456;\n"
                    "ShowMessage(Format(\"%x %x %x %x %x %x\", [c.Pixels[0, 0], c.Pixels[9, 9], c.Pixels[10, 10],\n"
                    "  c.Pixels[7, 15], c.Pixels[7, 18], c.Pixels[19, 19]]));\n"
                    "ShowMessage(IntToStr(c.Pixels[20, 0]) + \" \" + IntToStr(c.Pen.Mode) + \" \" + IntToStr(c.Pen.Style));\n"
                    "b.Free;\n"},
    };
    for (const Program &p : programs) {
        FakeDialogService dialogs;
        GuiProgram program(p.Language, p.Source);
        ASSERT_EQ(program.Run(), QString()) << p.Language;
        // A new bitmap is white; xor with white turns it black.
        EXPECT_EQ(shown(dialogs), QStringLiteral("FF FF FFFFFF FF00 0 123456\n-1 14 0")) << p.Language;
    }
}

TEST(ScriptGraphics, ObjectsAssignAndFreeLikeTheirKinds)
{
    struct Case
    {
        const char *What;
        const char *Source; ///< PascalScript
        const char *Output;
        const char *Error;
    };
    const Case cases[] = {
        {"fonts copy each other",
         "var f, g: TFont;\n"
         "begin\n"
         "  f := TFont.Create;\n"
         "  f.Name := 'Serif';\n"
         "  f.Style := fsBold + fsItalic;\n"
         "  g := TFont.Create;\n"
         "  g.Assign(f);\n"
         "  g.Style := [fsUnderline, fsStrikeout];\n"
         "  ShowMessage(g.Name + ' ' + IntToStr(f.Style) + ' ' + IntToStr(g.Style))\n"
         "end.\n",
         "Serif 3 12", ""},
        {"a bitmap's copy owns its pixels",
         "var a, b: TBitmap;\n"
         "begin\n"
         "  a := TBitmap.Create;\n"
         "  a.Width := 2;\n"
         "  a.Height := 2;\n"
         "  b := TBitmap.Create;\n"
         "  b.Assign(a);\n"
         "  a.Canvas.Pixels[0, 0] := 0;\n"
         "  ShowMessage(IntToStr(b.Width) + ' ' + IntToStr(b.Canvas.Pixels[0, 0]))\n"
         "end.\n",
         "2 16777215", ""},
        {"a pen is no font",
         "var f: TFont; p: TPen;\nbegin\n  f := TFont.Create;\n  p := TPen.Create;\n  f.Assign(p)\nend.\n", "",
         "ERROR at 5:3: Cannot assign a TPen to a TFont"},
        {"a freed bitmap's canvas goes with it",
         "var b: TBitmap; c: TCanvas;\nbegin\n  b := TBitmap.Create;\n  c := b.Canvas;\n  b.Free;\n  c.MoveTo(1, 1)\nend.\n",
         "", "ERROR at 6:3: Invalid object reference"},
        {"a canvas of nothing", "var c: TCanvas;\nbegin\n  c := TCanvas.Create;\n  c.Rectangle(0, 0, 1, 1)\nend.\n", "",
         "ERROR at 4:3: Canvas does not allow drawing"},
        {"a recorded metafile draws where it is put",
         "var m: TMetafile; mc: TMetafileCanvas; b: TBitmap;\n"
         "begin\n"
         "  m := TMetafile.Create;\n"
         "  mc := TMetafileCanvas.Create(m, 0);\n"
         "  mc.Brush.Color := $FF0000;\n"
         "  mc.Pen.Style := psClear;\n"
         "  mc.Rectangle(0, 0, 4, 4);\n"
         "  mc.Free;\n"
         "  b := TBitmap.Create;\n"
         "  b.Width := 10;\n"
         "  b.Height := 10;\n"
         "  b.Canvas.Draw(5, 5, m);\n"
         "  ShowMessage(Format('%dx%d %x %x', [m.Width, m.Height, b.Canvas.Pixels[6, 6], b.Canvas.Pixels[4, 4]]))\n"
         "end.\n",
         "4x4 FF0000 FFFFFF", ""},
    };
    for (const Case &c : cases) {
        FakeDialogService dialogs;
        GuiProgram program("PascalScript", c.Source);
        EXPECT_EQ(program.Run(), QString::fromUtf8(c.Error)) << c.What;
        EXPECT_EQ(shown(dialogs), QString::fromUtf8(c.Output)) << c.What;
    }
}

TEST(ScriptGraphics, PicturesGoToFilesAndBack)
{
    const QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString png = dir.filePath(QStringLiteral("dot.png"));
    struct Case
    {
        const char *What;
        QString Source; ///< PascalScript; %1 is the folder
        const char *Output;
        const char *Error;
    };
    const Case cases[] = {
        {"a bitmap saved and read by a picture",
         QStringLiteral("var b: TBitmap; p: TPicture;\n"
                        "begin\n"
                        "  b := TBitmap.Create;\n"
                        "  b.Width := 3;\n"
                        "  b.Height := 2;\n"
                        "  b.Canvas.Pixels[2, 1] := $00FF00;\n"
                        "  b.SaveToFile('%1/dot.png');\n"
                        "  p := TPicture.Create;\n"
                        "  p.LoadFromFile('%1/dot.png');\n"
                        "  ShowMessage(Format('%dx%d %x', [p.Width, p.Height, p.Bitmap.Canvas.Pixels[2, 1]]))\n"
                        "end.\n"),
         "3x2 FF00", ""},
        {"a file that holds no picture",
         QStringLiteral("var b: TBitmap;\nbegin\n  b := TBitmap.Create;\n  b.LoadFromFile('%1/none.png')\nend.\n"), "",
         "ERROR at 4:3: Cannot read the picture \"%1/none.png\""},
        {"metafiles cannot be read",
         QStringLiteral("var m: TMetafile;\nbegin\n  m := TMetafile.Create;\n  m.LoadFromFile('%1/a.emf')\nend.\n"), "",
         "ERROR at 4:3: Cannot read \"%1/a.emf\": this system has no metafile decoder"},
        {"nor pictures of them",
         QStringLiteral("var p: TPicture;\nbegin\n  p := TPicture.Create;\n  p.LoadFromFile('%1/a.wmf')\nend.\n"), "",
         "ERROR at 4:3: Cannot read \"%1/a.wmf\": this system has no metafile decoder"},
        {"nor written",
         QStringLiteral("var m: TMetafile;\nbegin\n  m := TMetafile.Create;\n  m.SaveToFile('%1/a.emf')\nend.\n"), "",
         "ERROR at 4:3: Cannot write \"%1/a.emf\": this system has no metafile encoder"},
    };
    for (const Case &c : cases) {
        FakeDialogService dialogs;
        const QByteArray source = c.Source.arg(dir.path()).toUtf8();
        GuiProgram program("PascalScript", source.constData());
        EXPECT_EQ(program.Run(), QString::fromUtf8(c.Error).replace(QLatin1String("%1"), dir.path())) << c.What;
        EXPECT_EQ(shown(dialogs), QString::fromUtf8(c.Output)) << c.What;
    }
    const QImage written(png);
    ASSERT_FALSE(written.isNull());
    EXPECT_EQ(written.pixel(2, 1), qRgb(0, 255, 0));
}

} // namespace
