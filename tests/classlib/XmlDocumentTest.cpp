#include "classlib/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>

#include "classlib/Exceptions.h"
#include "classlib/Streams.h"
#include "classlib/Strings.h"

using namespace ClassLib;

namespace {

// The tree as the class shows it: element{attributes}(children), "text", other names bare.
std::wstring Dump(const TXmlNode& node) {
    switch (node.Kind()) {
    case TXmlNodeKind::Text:
        return (node.Name() == L"#text" ? L"" : node.Name()) + L"\"" + node.Value() + L"\"";
    case TXmlNodeKind::Other:
        return node.Name();
    case TXmlNodeKind::Element:
        break;
    }
    std::wstring out = node.Name();
    if (node.AttributeCount() > 0) {
        out += L"{";
        for (int i = 0; i < node.AttributeCount(); ++i) {
            const TXmlAttribute attribute = node.Attribute(i);
            out += (i ? L"," : L"") + attribute.Name + L"=" + attribute.Value;
        }
        out += L"}";
    }
    if (node.ChildCount() > 0) {
        out += L"(";
        for (int i = 0; i < node.ChildCount(); ++i) out += (i ? L"," : L"") + Dump(node.Child(i));
        out += L")";
    }
    return out;
}

std::wstring Nested(int depth) {
    std::wstring text;
    for (int i = 0; i < depth; ++i) text += L"<g>";
    for (int i = 0; i < depth; ++i) text += L"</g>";
    return text;
}

// Each entity l<i> holds ten references to l<i-1>.
std::wstring Laughs(int levels) {
    std::wstring text = L"<!DOCTYPE svg [<!ENTITY l0 \"lol\">";
    for (int i = 1; i <= levels; ++i) {
        text += L"<!ENTITY l" + std::to_wstring(i) + L" \"";
        for (int j = 0; j < 10; ++j) text += L"&l" + std::to_wstring(i - 1) + L";";
        text += L"\">";
    }
    return text + L"]><svg>&l" + std::to_wstring(levels) + L";</svg>";
}

std::wstring EntityChain(int length) {
    std::wstring text = L"<!DOCTYPE svg [<!ENTITY e0 \"x\">";
    for (int i = 1; i < length; ++i)
        text += L"<!ENTITY e" + std::to_wstring(i) + L" \"&e" + std::to_wstring(i - 1) + L";\">";
    return text + L"]><svg>&e" + std::to_wstring(length - 1) + L";</svg>";
}

std::wstring Repeated(const std::wstring& piece, int count) {
    std::wstring text;
    for (int i = 0; i < count; ++i) text += piece;
    return text;
}

}  // namespace

TEST(XmlDocument, ShowsElementsTextAndAttributes) {
    struct TCase { const wchar_t* Tag; std::wstring Text; std::wstring Tree; };
    const TCase cases[] = {
        {L"plain", L"<svg a=\"1\" b='x &amp; y'>hi<g/></svg>", L"svg{a=1,b=x & y}(\"hi\",g)"},
        {L"external DTD, never fetched",
         L"<?xml version=\"1.0\"?><!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" "
         L"\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\"><svg width=\"2\"/>",
         L"svg{width=2}"},
        {L"declared encoding of a file", L"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n<svg/>", L"svg"},
        {L"internal entities in text and attributes",
         L"<!DOCTYPE svg [<!ENTITY ns \"http://www.w3.org/2000/svg\"><!ENTITY e \"ent\">]>"
         L"<svg ns=\"&ns;\"><text>&e;</text></svg>",
         L"svg{ns=http://www.w3.org/2000/svg}(text(\"ent\"))"},
        {L"prefixed names", L"<svg xmlns:xlink=\"http://www.w3.org/1999/xlink\"><image xlink:href=\"#a\"/></svg>",
         L"svg{xmlns:xlink=http://www.w3.org/1999/xlink}(image{xlink:href=#a})"},
        {L"CDATA, comment, instruction", L"<svg><style><![CDATA[.a{fill:red}]]></style><!--c--><?pi x?></svg>",
         L"svg(style(#cdata-section\".a{fill:red}\"),#comment,pi)"},
        {L"character references and other scripts", L"<svg t=\"&#228;\u20AC\">\u6F22&#x5B57; a</svg>",
         L"svg{t=\u00E4\u20AC}(\"\u6F22\u5B57 a\")"},
        {L"deepest allowed nesting", L"<svg>" + Nested(255) + L"</svg>", L""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Tag)));
        TXmlDocument document;
        ASSERT_NO_THROW(document.LoadFromText(c.Text));
        const TXmlNode root = document.DocumentElement();
        ASSERT_FALSE(root.IsNull());
        EXPECT_EQ(root.Kind(), TXmlNodeKind::Element);
        if (!c.Tree.empty()) {
            EXPECT_EQ(Dump(root), c.Tree);
        }
        // What the DOM writes back reads as the same tree.
        TXmlDocument again;
        ASSERT_NO_THROW(again.LoadFromText(document.Xml()));
        EXPECT_EQ(Dump(again.DocumentElement()), Dump(root));
    }
}

TEST(XmlDocument, AttributesByNameTextAndBounds) {
    TXmlDocument document;
    EXPECT_FALSE(document.Active());
    EXPECT_TRUE(document.DocumentElement().IsNull());
    EXPECT_EQ(document.Xml(), L"");

    document.LoadFromText(L"<!DOCTYPE svg [<!ENTITY b \"B&c;\"><!ENTITY c \"C\">]>"
                          L"<svg cx=\"\" id=\"&b;\"><g>one <t>two</t></g><text>a&b;z</text></svg>");
    const TXmlNode root = document.DocumentElement();
    EXPECT_TRUE(root.HasAttribute(L"cx"));   // present though empty
    EXPECT_EQ(root.Attribute(L"cx"), L"");
    EXPECT_FALSE(root.HasAttribute(L"cy"));
    EXPECT_EQ(root.Attribute(L"cy"), L"");
    EXPECT_EQ(root.Attribute(L"id"), L"BC");
    EXPECT_FALSE(root.HasAttribute(L"ID"));   // names are case-sensitive
    EXPECT_EQ(root.Value(), L"");             // an element has no value of its own
    EXPECT_EQ(root.Child(0).Text(), L"one two");
    EXPECT_EQ(root.Child(1).Text(), L"aBCz");
    std::wstring pieces;   // entity references give their text in their place, as text nodes
    for (int i = 0; i < root.Child(1).ChildCount(); ++i) {
        EXPECT_EQ(root.Child(1).Child(i).Kind(), TXmlNodeKind::Text);
        EXPECT_EQ(root.Child(1).Child(i).Name(), L"#text");
        pieces += root.Child(1).Child(i).Value();
    }
    EXPECT_EQ(pieces, L"aBCz");

    EXPECT_THROW(root.Child(-1), EListError);
    EXPECT_THROW(root.Child(root.ChildCount()), EListError);
    EXPECT_THROW(root.Attribute(2), EListError);
    const TXmlNode text = root.Child(0).Child(0);
    EXPECT_EQ(text.Name(), L"#text");
    EXPECT_EQ(text.AttributeCount(), 0);
    EXPECT_EQ(text.ChildCount(), 0);
    EXPECT_FALSE(text.HasAttribute(L"x"));

    const TXmlNode null;
    EXPECT_EQ(null.Name(), L"");
    EXPECT_EQ(null.Kind(), TXmlNodeKind::Other);
    EXPECT_EQ(null.ChildCount(), 0);
    EXPECT_EQ(null.AttributeCount(), 0);
    EXPECT_EQ(null.Attribute(L"x"), L"");

    // A node keeps its document alive.
    TXmlNode kept;
    {
        TXmlDocument scoped;
        scoped.LoadFromText(L"<svg><g id=\"k\"/></svg>");
        kept = scoped.DocumentElement().Child(0);
    }
    EXPECT_EQ(kept.Attribute(L"id"), L"k");
}

TEST(XmlDocument, SavesWhatTheDomWritesAsUtf8) {
    TXmlDocument document;
    document.LoadFromText(L"<svg t=\"\u00E4\"/>");
    TMemoryStream stream;
    document.SaveToStream(&stream);
    const std::string bytes(stream.Bytes().begin(), stream.Bytes().end());
    EXPECT_EQ(bytes, UTF8Encode(document.Xml()));
    EXPECT_NE(bytes.find("t=\"\xC3\xA4\""), std::string::npos);
}

// Each ends, in bounded time, with a refusal that names the problem; nothing outside the
// text is read.
TEST(XmlDocument, RefusesHostileDocuments) {
    const std::wstring hugeEntity = L"<!DOCTYPE svg [<!ENTITY a \"" + std::wstring(100000, L'a') + L"\">]><svg>" +
                                    Repeated(L"&a;", 20) + L"</svg>";
    struct TCase { const wchar_t* Tag; std::wstring Text; const wchar_t* Reason; };
    const TCase cases[] = {
        {L"100,000 nested elements", L"<svg>" + Nested(100000) + L"</svg>", L"nested deeper than 256 levels"},
        {L"one level too deep", L"<svg>" + Nested(256) + L"</svg>", L"nested deeper than 256 levels"},
        {L"billion laughs", Laughs(9), L"expand to more than 1048576 characters"},
        {L"many references to one large entity", hugeEntity, L"expand to more than"},
        {L"large expansion in attributes",
         L"<!DOCTYPE svg [<!ENTITY a \"" + std::wstring(1000, L'a') + L"\">]><svg>" +
             Repeated(L"<g x=\"&a;&a;\"/>", 600) + L"</svg>",
         L"expand to more than"},
        {L"entity chain", EntityChain(20), L"nested deeper than 16 levels"},
        {L"entity referring to itself", L"<!DOCTYPE svg [<!ENTITY a \"x&b;\"><!ENTITY b \"&a;\">]><svg>&a;</svg>",
         L"refers to itself"},
        {L"markup in an entity", L"<!DOCTYPE svg [<!ENTITY a \"<g><g/></g>\">]><svg>&a;</svg>", L"holds markup"},
        {L"external entity, system file",
         L"<!DOCTYPE svg [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><svg>&e;</svg>",
         L"the external entity \"e\" is not allowed"},
        {L"external entity, local file", L"<!DOCTYPE svg [<!ENTITY e SYSTEM \"secret.txt\">]><svg/>",
         L"external entity"},
        {L"external entity, public", L"<!DOCTYPE svg [<!ENTITY e PUBLIC \"-//x//EN\" \"http://x/e\">]><svg/>",
         L"external entity"},
        {L"external parameter entity", L"<!DOCTYPE svg [<!ENTITY % p SYSTEM \"p.dtd\"> %p;]><svg/>",
         L"external entity"},
        {L"internal parameter entity", L"<!DOCTYPE svg [<!ENTITY % p \"<!ENTITY e 'x'>\"> %p;]><svg/>",
         L"parameter entity references are not supported"},
        {L"entity in an attribute default",
         L"<!DOCTYPE svg [<!ENTITY a \"x\"><!ATTLIST g d CDATA \"&a;\">]><svg><g/></svg>",
         L"attribute defaults"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Tag)));
        TXmlDocument document;
        document.LoadFromText(L"<kept/>");
        try {
            document.LoadFromText(c.Text);
            ADD_FAILURE() << "loaded";
        } catch (const EXmlParseError& e) {
            EXPECT_NE(e.Reason().find(c.Reason), std::wstring::npos) << UTF8Encode(e.Message());
            EXPECT_EQ(e.Message().rfind(L"Cannot read the XML document: ", 0), 0u);
        }
        EXPECT_EQ(document.DocumentElement().Name(), L"kept");   // the old document stays
    }
}

TEST(XmlDocument, ParseErrorsNameReasonAndPlace) {
    struct TCase { std::wstring Text; const wchar_t* Reason; int Line; int Column; };
    const TCase cases[] = {
        {L"<svg>\n  <g>\n</svg>", L"the end tag </svg> does not match <g>", 3, 1},
        {L"<svg>\n  <g a=\"1\">", L"element <g> is not closed", 2, 3},
        {L"<svg><!-- open", L"a comment is not closed", 1, 6},
        {L"<svg a=\"1/>", L"an attribute value is not closed", 1, 8},
        {L"<svg></g>", L"the end tag </g> does not match <svg>", 1, 6},
        {L"</svg>", L"the end tag </svg> has no start tag", 1, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Text));
        try {
            TXmlDocument().LoadFromText(c.Text);
            ADD_FAILURE() << "loaded";
        } catch (const EXmlParseError& e) {
            EXPECT_EQ(e.Reason(), c.Reason);
            EXPECT_EQ(e.Line(), c.Line);
            EXPECT_EQ(e.Column(), c.Column);
            EXPECT_NE(e.Message().find(L"(line " + std::to_wstring(c.Line) + L", column " +
                                       std::to_wstring(c.Column) + L")"),
                      std::wstring::npos);
        }
    }
    // What only the DOM sees still raises the class's error with a reason.
    for (const wchar_t* text : {L"<svg a=1/>", L"", L"plain text", L"<svg/><svg/>", L"<svg>&undeclared;</svg>"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(text)));
        try {
            TXmlDocument().LoadFromText(text);
            ADD_FAILURE() << "loaded";
        } catch (const EXmlParseError& e) {
            EXPECT_FALSE(e.Reason().empty());
        }
    }
}
