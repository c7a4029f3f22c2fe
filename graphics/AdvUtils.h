#pragma once
// Shared routines of the graphics base: strings, markup entities, escaping, filter
// matching, numbers and dates, encodings, picture formats, downloads, files and scaling.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "classlib/Colors.h"
#include "classlib/DateTime.h"
#include "classlib/Dialogs.h"
#include "classlib/Strings.h"
#include "graphics/AdvTypesGeometry.h"

// <windows.h> maps GetTempPath to GetTempPathW; the member keeps its own name, so a
// file that includes <windows.h> writes `#undef GetTempPath` before it calls it.
#pragma push_macro("GetTempPath")
#undef GetTempPath

namespace ClassLib {
class TComponent;
class TControl;
class TCustomForm;
class TFont;
class TGraphic;
struct TGraphicClassData;
class TMemoryStream;
class TPicture;
class TResourceStream;
class TStream;
class TStringList;
class TStrings;
}  // namespace ClassLib

namespace AdvTypes {
class TAdvBitmap;
}

namespace AdvUtils {

using String = std::wstring;
using ClassLib::TDateTime;
using TBytes = std::vector<std::uint8_t>;
using TAdvUtilsCharSet = std::vector<wchar_t>;   // a list: duplicates allowed, order kept
using TAdvUtilsFileCallBackEvent = std::function<void(const String& fileName, bool result)>;

using AdvTypes::TPointF;

// Never instantiated: every operation is static.
class TAdvUtils {
public:
    TAdvUtils() = delete;

    // ---- search and replace (positions 1-based, 0 = absent)
    static int IPos(const String& su, const String& s);
    static int VarPos(const String& subValue, const String& value, int& result);
    static int VarPosNoCase(const String& subValue, const String& value, int& result);
    // The first occurrence in any case; false when there is none.
    static bool TagReplaceString(const String& srch, const String& repl, String& dest);
    static wchar_t CharInStr(const String& s, int index);
    // Case is ignored unless the text names an accented entity ("cute", "uml", ...):
    // "&Eacute;" and "&eacute;" are different rows.
    static int IndexOfTextInArray(const String& text, std::span<const String> values);
    static void Split(wchar_t delimiter, const String& input, ClassLib::TStrings* strings,
                      bool clearEmptyStrings = false);

    // ---- markup entities
    static String FixMarkup(const String& su, bool specialChars = true);
    static String UnFixMarkup(const String& su, bool specialChars = true, bool specialCharsOnly = false);
    static int GetMarkupIndex(const String& markup);   // 0-based row, -1 none
    static String GetSpecialChar(int value);           // 1-based row; empty outside the table
    static String HTMLStrip(const String& html);
    static bool IsHTML(const String& value);
    static bool IsHTMLUnicode(const String& value);

    // ---- JSON-style escaping; UnescapeString raises ClassLib::EConvertError
    static String EscapeString(const String& value);
    static String UnescapeString(const String& value);

    // ---- character sets
    static TAdvUtilsCharSet CreateCharSet(const String& value);
    static TAdvUtilsCharSet NumericCharSet();
    static TAdvUtilsCharSet AlphaCharSet();
    static TAdvUtilsCharSet AddCharSet(const TAdvUtilsCharSet& set1, const TAdvUtilsCharSet& set2);
    static TAdvUtilsCharSet SubCharSet(const TAdvUtilsCharSet& set1, const TAdvUtilsCharSet& set2);
    static bool CharInSet(wchar_t ch, const TAdvUtilsCharSet& charSet);
    // The first character of the set outside double quotes; 0 and spos -1 when none.
    static wchar_t FirstChar(const TAdvUtilsCharSet& charSet, const String& value, int& spos);

    // ---- filter expressions: operands joined by & | ^ ; and grouped by parentheses
    static bool MatchStrEx(const String& value1, const String& value2, bool caseSensitive);
    static bool MatchStr(const String& value1, const String& value2, bool caseSensitive);
    // Pattern against value: > >= < <= comparisons, ! negation, ? and * wildcards.
    static bool Matches(const String& pattern, const String& value);
    static String StripLogicSpaces(const String& value);
    static int ClosingParenthesis(const String& s);
    static String StripThousandSep(const String& s);
    // Day, month and year in the order of the current short date format, then an
    // optional blank and time.
    static bool IsDate(const String& value, TDateTime& date);

    // ---- numbers, dates and sizes
    static bool TryStrToFloatDot(const String& value, double& result);
    static double StrToFloatDot(const String& value);
    static String FloatToStrDot(double value);
    static TDateTime EpochToDateTime(const String& epoch);
    static String FormatBytesAsString(double size);
    // Rounded half away from zero through a 64-bit product; beyond 32 bits it saturates.
    static int MulDivInt(int number, int numerator, int denominator);
    static float MulDivSingle(float number, float numerator, float denominator);

    // ---- encodings
    static String SaveStreamToBase64(ClassLib::TStream* stream, bool url = false);
    static String SaveStreamToHexStr(ClassLib::TStream* stream);
    static String SaveBitmapToBase64(ClassLib::TPicture* bitmap, bool url = false);
    static String SaveBitmapToHexStr(ClassLib::TPicture* bitmap);
    static TBytes Decode64ToBytes(const String& value, bool url = false);
    static void LoadStreamFromBase64(const String& base64, ClassLib::TStream* stream, bool url = false);
    static void LoadBitmapFromBase64(const String& base64, ClassLib::TPicture* bitmap, bool url = false);
    static std::unique_ptr<AdvTypes::TAdvBitmap> CreateBitmapFromBase64(const String& base64, bool url = false);
    static TBytes HexStrToBytes(const String& value);
    static void LoadStreamFromHexStr(const String& hexStr, ClassLib::TStream* stream);
    static void LoadBitmapFromHexStr(const String& hexStr, ClassLib::TPicture* bitmap);
    static std::unique_ptr<AdvTypes::TAdvBitmap> CreateBitmapFromHexStr(const String& hexStr);
    static String URLEncode(const String& url);
    static String URLDecode(const String& url);
    static String EnDeCrypt(const String& value);

    // ---- picture formats and downloads
    // The extension of the first matching signature (".gif", ".png", ...), or empty.
    static String GetImageType(ClassLib::TStream* data, bool resetPosition);
    static String GetImageType(AdvTypes::TAdvBitmap* bitmap, bool resetPosition);
    static bool FindGraphicClass(const void* buffer, std::int64_t bufferSize,
                                 const ClassLib::TGraphicClassData*& graphicClass);
    // Null when the picture's format is not recognised; the caller owns the stream.
    static std::unique_ptr<ClassLib::TMemoryStream> ConvertBitmapToJPEGStream(
        ClassLib::TPicture* bitmap, float quality, ClassLib::TColor backgroundColor);
    // The body when the server calls it an image; an empty stream otherwise.
    static std::unique_ptr<ClassLib::TMemoryStream> DownloadImage(const String& url);

    // ---- files, paths, forms
    static bool SelectFile(String& fileName, const String& defaultFolder, const String& filter,
                           const TAdvUtilsFileCallBackEvent& callBack = {});
    static bool SaveFile(String& fileName, const String& filter,
                         const TAdvUtilsFileCallBackEvent& callBack = {});
    static int Message(const String& message);
    static int Message(const String& message, ClassLib::TMsgDlgType dialogType,
                       ClassLib::TMsgDlgButtons buttons, int helpContext);
    static void OpenFile(const String& file, ClassLib::TControl* controlReference = nullptr);
    static void OpenURL(const String& url);
    static String GetTempPath();
    static String GetAppPath();
    static String GetDocumentsPath();
    static String AddBackslash(const String& value);
    static String AddForwardslash(const String& value);
    // Null when the module has no RCDATA resource of that name; 0 = the program.
    static std::unique_ptr<ClassLib::TResourceStream> GetResourceStream(const String& resourceName,
                                                                        std::uintptr_t instance = 0);
    static std::uintptr_t GetHInstance();
    static void Log(const String& message);
    static TPointF GetMousePos();
    static void GetFonts(ClassLib::TStringList* fontList);
    static ClassLib::TCustomForm* GetOwnerForm(ClassLib::TComponent* component);
    static ClassLib::TCustomForm* GetParentForm(ClassLib::TControl* control);
    // A copy made through a window description: a new root of the same class, without an
    // owner and without the original's name, with the components the original owns.
    // Null for null.
    static std::unique_ptr<ClassLib::TComponent> Clone(ClassLib::TComponent* component);

    // ---- screen scaling
    static float GetDPIScale(ClassLib::TComponent* owner = nullptr, int defaultDPI = 0);
    static bool IsHighDPIScale(ClassLib::TComponent* owner = nullptr, int defaultDPI = 0);
    static void ScaleForDPI(ClassLib::TControl* control, int dpi);
    static void ScaleForCurrentDPI(ClassLib::TCustomForm* form);
    // `size` is in pixels at 96 pixels per inch.
    static void SetFontSize(ClassLib::TFont* font, float size);
};

// The five clipboard formats of the unit, registered by name on first use.
enum class TAdvClipboardFormat { StreamFormat, RichEditorText, RichTextFormat, Bitmap, HTMLFormat };
std::uint16_t AdvClipboardFormat(TAdvClipboardFormat format);

}  // namespace AdvUtils

#pragma pop_macro("GetTempPath")
