#include "base/core/zelexception.h"
#include "base/xml/zelxmltext.h"

#include <gtest/gtest.h>

namespace {

QString u8(const char *s)
{
    return QString::fromUtf8(s);
}

QString withZero(const char *before, const char *after)
{
    return u8(before) + QChar(0) + u8(after);
}

} // namespace

TEST(XmlText, EscapesExactlySevenCharacters)
{
    struct Case { QString in; QString expected; };
    const QString longText = QString(20, u'x');
    const Case cases[] = {
        {u8("a\"b<c>d&e\r\nf"), u8("a&#34;b&#60;c&#62;d&#38;e&#13;&#10;f")},
        {u8("plain 'text'\twith tab"), u8("plain 'text'\twith tab")},
        {u8("Grüße € 漢字"), u8("Grüße € 漢字")},
        {u8("&quot;"), u8("&#34;")},
        {u8("say &quot;hi&quot"), u8("say &#34;hi&#38;quot")},
        {u8("&amp;&lt;"), u8("&#38;amp;&#38;lt;")},
        {u8(""), u8("")},
        // Code 0: a reference in short texts, a blank from 32 characters on.
        {withZero("ab", "cd"), u8("ab&#0;cd")},
        {withZero("", "") + QString(30, u'y'), u8("&#0;") + QString(30, u'y')},
        {withZero("", "") + QString(31, u'y'), u8(" ") + QString(31, u'y')},
        {longText + withZero("", "\"") + longText, longText + u8(" &#34;") + longText},
    };
    for (const Case &c : cases)
        EXPECT_EQ(EscapeXMLText(c.in).toStdString(), c.expected.toStdString()) << c.in.toStdString();
}

TEST(XmlText, UnescapesReferences)
{
    struct Case { const char *in; const char *expected; };
    const Case cases[] = {
        {"&#34;&#60;&#62;&#38;&#13;&#10;", "\"<>&\r\n"},
        {"&quot;&amp;&lt;&gt;", "\"&<>"},
        {"&amp;quot;", "&quot;"},           // one level only
        {"a &apos; b &unknown; c", "a &apos; b &unknown; c"},
        {"trailing &", "trailing &"},
        {"&#65", "&#65"},                   // no semicolon: not a reference
        {"&#233;t&#233;", "été"},
        {"&#128512;", "😀"},
        {"no references", "no references"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(UnescapeXMLText(u8(c.in)).toStdString(), c.expected) << c.in;
}

TEST(XmlText, InvalidNumericReferenceRaisesConvertError)
{
    for (const char *in : {"&#;", "&#x41;", "&#1a;", "&#-5;", "&# 65;", "&#99999999999;"})
        EXPECT_THROW(UnescapeXMLText(u8(in)), TzelConvertError) << in;
}

TEST(XmlText, EscapedTextReadsBack)
{
    const QString value = u8("\"quoted\" <tag> & more\r\nline 2 — ü");
    EXPECT_EQ(UnescapeXMLText(EscapeXMLText(value)), value);
    // The one lossy rule: a literal "&quot;" comes back as a double quote.
    EXPECT_EQ(UnescapeXMLText(EscapeXMLText(u8("a&quot;b"))), u8("a\"b"));
}
