#include "editor/AdvmCSHS.h"

#include "classlib/Properties.h"

namespace AdvmCSHS {

using namespace ClassLib;
using namespace AdvMemo;

namespace {

void AddWords(TElementStyle& item, std::initializer_list<const wchar_t*> words) {
    for (const wchar_t* word : words) item.KeyWords()->Add(word);
}

TElementStyle& AddGroup(TElementStyles& styles, const wchar_t* info, TStyleType type, TColor color,
                        TFontStyles fontStyle) {
    TElementStyle& item = *styles.Add();
    item.SetInfo(info);
    item.SetStyleType(type);
    item.Font()->SetColor(color);
    item.Font()->SetStyle(fontStyle);
    return item;
}

TElementStyle& AddString(TElementStyles& styles, const wchar_t* info, wchar_t quote, TColor color) {
    TElementStyle& item = AddGroup(styles, info, stBracket, color, TFontStyles());
    item.SetBracketStart(quote);
    item.SetBracketEnd(quote);
    return item;
}

void AddDefaultRegions(TRegionDefinitions& regions) {
    regions.AddRegion(L"namespace", L"{", L"}", rtClosed);
    regions.AddRegion(L"#region", L"#region", L"#endregion", rtClosed);
    regions.AddRegion(L"public", L"{", L"}", rtClosed);
    regions.AddRegion(L"private", L"{", L"}", rtClosed);
}

}  // namespace

CLASSLIB_IMPLEMENT(TAdvCSharpMemoStyler, TAdvCustomMemoStyler)

TAdvCSharpMemoStyler::TAdvCSharpMemoStyler(TComponent* owner) : TAdvCustomMemoStyler(owner) {
    SetVersion(L"1.0");
    FDescription = L"C# Styler";
    FFilter = L"C# files|*.cs";
    FDefaultExtension = L".";
    FStylerName = L"C# Styler";
    FExtensions = L"cs";
    FAutoBlockEnd = true;
    FLineComment = L"//";
    FMultiCommentLeft = L"/*";
    FMultiCommentRight = L"*/";
    const TCharStyle comments(clNavy, clWhite, TFontStyles{fsItalic});
    FCommentStyle->Assign(&comments);
    const TCharStyle numbers(clFuchsia, clWhite, TFontStyles{fsBold});
    FNumberStyle->Assign(&numbers);
    FBlockStart = L"{";
    FBlockEnd = L"}";
    FLiteral = L"\\";
    FHexIdentifier = L"0x";

    TElementStyles& styles = *FAllStyles;
    AddWords(AddGroup(styles, L"C# Standard Default", stKeyword, clGreen, TFontStyles{fsBold}),
             {L"NAMESPACE", L"USING", L"GET", L"SET", L"PRIVATE", L"PUBLIC", L"INTERNAL", L"TYPEOF",
              L"TYPE", L"INTERFACE", L"DELEGATE", L"EVENT", L"IF", L"ELSE", L"SWITCH", L"CASE",
              L"DEFAULT", L"DO", L"WHILE", L"FOR", L"FOREACH", L"BREAK", L"CONTINUE", L"RETURN",
              L"THROW", L"CATCH", L"TRY", L"FINALLY", L"CHECKED", L"UNCHECKED", L"LOCK", L"THIS",
              L"VALUE", L"TRUE", L"FALSE", L"NULL", L"CLASS", L"STRUCT", L"STATIC", L"VOID",
              L"UNSAFE", L"INT", L"BOOL", L"STRING", L"OBJECT", L"SBYTE", L"SHORT", L"LONG",
              L"USHORT", L"UBYTE", L"UINT", L"ULONG", L"FLOAT", L"DOUBLE", L"CHAR", L"DECIMAL",
              L"ENUM", L"IMPLEMENTATION", L"CONST", L"PROGRAM", L"PUBLISHED", L"PROTECTED",
              L"SEALED", L"PROPERTY", L"FUNCTION", L"PARAMS", L"REF", L"BASE", L"EXTERN",
              L"OPERATOR", L"GOTO", L"NOT", L"TO", L"IS", L"EXPLICIT", L"IMPLICIT", L"ABSTRACT",
              L"VIRTUAL", L"OVERRIDE", L"READONLY", L"DEFAULT", L"FIXED"});
    AddWords(AddGroup(styles, L"C# Regions", stKeyword, clBlue, TFontStyles{fsBold}),
             {L"#region", L"#endregion"});
    AddWords(AddGroup(styles, L"C# Conditional defines", stKeyword, clNavy, TFontStyles{fsBold}),
             {L"#if", L"#else", L"#endif", L"#define", L"#undef", L"#error", L"#warning", L"#line"});
    AddString(styles, L"Simple Quote", L'\'', clBlue);
    AddString(styles, L"Double Quote", L'"', clBlue);
    AddGroup(styles, L"Symbols Delimiters", stSymbol, clRed, TFontStyles())
        .SetSymbols(L" ,;:.()[]=-*/^%&^<>|!~\r\n");
    // The constructor's groups are not a modification: a description without groups clears them.
    styles.SetModified(false);

    AddDefaultRegions(*FRegionDefinitions);
}

const TPropertyList& TAdvCSharpMemoStyler::Published() {
    static const TPropertyList list = TPropertyList::Extend(TAdvCustomMemoStyler::Published())
        .Collection(L"AllStyles", &TAdvCSharpMemoStyler::AllStyles)
        .Add(L"LineComment", &TAdvCSharpMemoStyler::LineComment, &TAdvCSharpMemoStyler::SetLineComment, L"//")
        .Add(L"MultiCommentLeft", &TAdvCSharpMemoStyler::MultiCommentLeft,
             &TAdvCSharpMemoStyler::SetMultiCommentLeft, L"/*")
        .Add(L"MultiCommentRight", &TAdvCSharpMemoStyler::MultiCommentRight,
             &TAdvCSharpMemoStyler::SetMultiCommentRight, L"*/")
        .SubObject(L"CommentStyle", &TAdvCSharpMemoStyler::CommentStyle)
        .SubObject(L"NumberStyle", &TAdvCSharpMemoStyler::NumberStyle)
        .Strings(L"AutoCompletion", &TAdvCSharpMemoStyler::AutoCompletion)
        .SubObject(L"HintParameter", &TAdvCSharpMemoStyler::HintParameter)
        .Add(L"HexIdentifier", &TAdvCSharpMemoStyler::HexIdentifier, &TAdvCSharpMemoStyler::SetHexIdentifier, L"0x")
        .Add(L"BlockEnd", &TAdvCSharpMemoStyler::BlockEnd, &TAdvCSharpMemoStyler::SetBlockEnd, L"}")
        .Add(L"BlockStart", &TAdvCSharpMemoStyler::BlockStart, &TAdvCSharpMemoStyler::SetBlockStart, L"{")
        .Add(L"Filter", &TAdvCSharpMemoStyler::Filter, &TAdvCSharpMemoStyler::SetFilter, L"C# files|*.cs")
        .Add(L"DefaultExtension", &TAdvCSharpMemoStyler::DefaultExtension,
             &TAdvCSharpMemoStyler::SetDefaultExtension, L".")
        .Add(L"Extensions", &TAdvCSharpMemoStyler::Extensions, &TAdvCSharpMemoStyler::SetExtensions, L"cs")
        .Add(L"Description", &TAdvCSharpMemoStyler::Description, &TAdvCSharpMemoStyler::SetDescription,
             L"C# Styler")
        .Add(L"StylerName", &TAdvCSharpMemoStyler::StylerName, &TAdvCSharpMemoStyler::SetStylerName,
             L"C# Styler")
        .Collection(L"RegionDefinitions", &TAdvCSharpMemoStyler::RegionDefinitions)
        .Add(L"AutoBlockEnd", &TAdvCSharpMemoStyler::AutoBlockEnd, &TAdvCSharpMemoStyler::SetAutoBlockEnd, true)
        .ReadOnly(L"Version", &TAdvCSharpMemoStyler::Version);
    return list;
}

void ApplyCMemoStylerSettings(TAdvCSharpMemoStyler& styler) {
    styler.BeginLoading();
    styler.SetAutoBlockEnd(true);
    styler.SetBlockStart(L"{");
    styler.SetBlockEnd(L"}");
    styler.SetLineComment(L"//");
    styler.SetMultiCommentLeft(L"/*");
    styler.SetMultiCommentRight(L"*/");
    const TCharStyle comments(RGBToColor(0, 128, 64), clNone, TFontStyles());
    styler.SetCommentStyle(&comments);
    const TCharStyle numbers(RGBToColor(128, 0, 255), clNone, TFontStyles{fsBold});
    styler.SetNumberStyle(&numbers);
    styler.SetHexIdentifier(L"0x");
    styler.SetDescription(L"C# Styler");
    styler.SetStylerName(L"C# Styler");
    styler.SetFilter(L"C files|*.c");
    styler.SetDefaultExtension(L".");
    styler.SetExtensions(L"c");

    THintParameter& hint = *styler.HintParameter();
    hint.SetTextColor(clBlack);
    hint.SetBkColor(clInfoBk);
    hint.SetHintCharStart(L'(');
    hint.SetHintCharEnd(L')');
    hint.SetHintCharDelimiter(L';');
    hint.SetHintClassDelimiter(L'.');
    hint.SetHintCharWriteDelimiter(L',');

    // Reading a stored list first clears the created items.
    TElementStyles& styles = *styler.AllStyles();
    styles.Clear();
    auto group = [&styles](const wchar_t* info, TStyleType type, TColor color, TFontStyles fontStyle) -> TElementStyle& {
        TElementStyle& item = AddGroup(styles, info, type, color, fontStyle);
        item.Font()->SetName(L"Courier New");
        item.Font()->SetHeight(-11);
        item.SetBGColor(clNone);
        return item;
    };
    const TColor keywordColor = RGBToColor(166, 0, 166);
    AddWords(group(L"C# Standard Default", stKeyword, keywordColor, TFontStyles{fsBold}),
             {L"_delay_ms", L"abstract", L"base", L"bool", L"break", L"case", L"catch", L"char",
              L"checked", L"class", L"const", L"continue", L"decimal", L"default", L"delegate", L"do",
              L"double", L"else", L"enum", L"event", L"explicit", L"extern", L"false", L"finally",
              L"fixed", L"float", L"for", L"foreach", L"function", L"get", L"goto", L"if",
              L"implementation", L"implicit", L"indef", L"int", L"interface", L"internal", L"is",
              L"lock", L"long", L"namespace", L"not", L"null", L"object", L"operator", L"override",
              L"params", L"private", L"program", L"property", L"protected", L"public", L"published",
              L"readonly", L"ref", L"return", L"sbyte", L"sealed", L"set", L"short", L"static",
              L"struct", L"switch", L"this", L"throw", L"to", L"true", L"try", L"type", L"typeof",
              L"ubyte", L"uint", L"uint8_t", L"int8_t", L"uint16_t", L"int16_t", L"uint32_t",
              L"int32_t", L"uint64_t", L"int64_t", L"ulong", L"unchecked", L"unsafe", L"ushort",
              L"using", L"value", L"virtual", L"void", L"while", L"volatile"});
    AddWords(group(L"C# Regions", stKeyword, keywordColor, TFontStyles{fsBold}),
             {L"#define", L"#elif", L"#else", L"#end", L"#endif", L"#endregion", L"#idef", L"#ifndef",
              L"#include", L"#region"});
    AddWords(group(L"C# Conditional defines", stKeyword, clBlue, TFontStyles{fsBold}),
             {L"#define", L"#else", L"#endif", L"#error", L"#if", L"#line", L"#undef", L"#warning"});
    TElementStyle& single = group(L"Simple Quote", stBracket, clBlue, TFontStyles());
    single.SetBracketStart(L'\'');
    single.SetBracketEnd(L'\'');
    TElementStyle& dbl = group(L"Double Quote", stBracket, clBlue, TFontStyles());
    dbl.SetBracketStart(L'"');
    dbl.SetBracketEnd(L'"');
    group(L"Symbols Delimiters", stSymbol, RGBToColor(0, 128, 255), TFontStyles())
        .SetSymbols(L",;:.()[]=-*/^%&^<>|!~\r\n");
    TElementStyle& avr = group(L"AVR ", stKeyword, RGBToColor(0, 128, 255), TFontStyles{fsBold});
    for (const wchar_t* prefix : {L"ddr", L"pin", L"port"})
        for (wchar_t letter = L'a'; letter <= L'h'; ++letter) avr.KeyWords()->Add(String(prefix) + letter);

    TRegionDefinitions& regions = *styler.RegionDefinitions();
    regions.Clear();
    AddDefaultRegions(regions);
    styler.Loaded();
}

TAdvCSharpMemoStyler* CreateCMemoStyler(TComponent* owner) {
    auto* styler = new TAdvCSharpMemoStyler(owner);
    styler->SetName(L"CMemoStyler");
    ApplyCMemoStylerSettings(*styler);
    return styler;
}

}  // namespace AdvmCSHS
