#pragma once
// The SVG importer's value syntaxes: numbers, colours, lengths, angles, transform lists,
// points, path data with elliptical arcs, and font family names. Window-free.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/Colors.h"
#include "classlib/GdiObjects.h"
#include "graphics/AdvGraphicsTypes.h"

namespace AdvGraphicsSVGEngine {

using AdvGraphicsTypes::TAdvGraphicsMatrix;
using AdvGraphicsTypes::TAdvGraphicsPath;
using AdvTypes::TPointF;
using ClassLib::TColor;

// An element's subpaths, in the order the data starts them.
using TAdvGraphicsSVGElementPathList = std::vector<std::unique_ptr<TAdvGraphicsPath>>;

// A plain decimal number with "." whatever the process settings; surrounding blanks are
// allowed. False (the value unchanged) for anything else, and for a value a float cannot
// hold finitely: 1e39, "inf" and "nan" are not numbers here.
bool TryParseNumber(const std::wstring& text, float& value);

// "rgb(r,g,b)" or "rgba(r,g,b,a)" with decimal, hexadecimal or percent channels; -1 when
// malformed. `alpha` receives the alpha channel (255 for rgb, -1 when not a whole number).
TColor ParseRGBColor(const std::wstring& text, int& alpha);
// One channel: decimal, else hexadecimal; a final "%" scales 0..100 onto 0..255; -1 when
// neither.
int ParseColorComponent(const std::wstring& text);

enum class TSVGColorKind { None, Color, URL, Transparent };
// The colour rules of fill, stroke and stop-color. URL: `urlID` holds the id (only with
// `allowURL`). Transparent: an rgba with alpha 0. A malformed "#" colour gives -1.
TSVGColorKind ParseColorValue(const std::wstring& value, bool allowURL, TColor& color, std::wstring& urlID);

// A length with an optional unit; 0 for an empty text or no number. `percent` tells
// whether the unit was "%".
float ParseLength(const std::wstring& text, bool* percent = nullptr);
// Radians from "deg", "grad", "rad" or a plain number of degrees; 0 when malformed.
float ParseAngle(const std::wstring& text);
// A transform list, composed as SVG does: the rightmost function acts first. Unknown or
// malformed functions contribute identity.
TAdvGraphicsMatrix ParseTransform(const std::wstring& text);

// The "points" of a polyline or polygon as a new path of `paths`; nothing for an odd count.
void ParsePoints(const std::wstring& text, bool closed, TAdvGraphicsSVGElementPathList& paths);

// Splits one command's text into its letter followed by its numbers.
std::vector<std::wstring> TokenizePathCommand(wchar_t command, const std::wstring& text);
// Repeats the command letter before every further full group of its numbers.
void ExpandImplicitCommands(std::vector<std::wstring>& tokens);
// Path data into paths; each move starts a new path. Data that ends inside a command
// raises EListError "List index out of bounds (%d)"; the paths built so far stay.
void ParsePathData(const std::wstring& text, TAdvGraphicsSVGElementPathList& paths);
// An elliptical arc from `current` to `end` as cubic curves (degrees for `angle`); a line
// when a radius is 0; nothing when the ends meet or a value is not finite.
void ArcToCurves(TAdvGraphicsPath& path, const TPointF& current, float rx, float ry, float angle, bool largeArc,
                 bool sweep, const TPointF& end);

// One rule of a style element's text: the class it names and, when it has them, its
// declarations.
struct TSVGClassRule {
    std::wstring ClassName;
    bool HasDeclarations = false;
    std::wstring Declarations;
};
// The rules of a style element's text, read as the importer always has: the text from the
// first "." to the first "{" (untrimmed) is the class, the text between the first "{" and
// the first "}" the declarations; then, from the first ".", as many characters as the
// position of that "}" counts are dropped and the rest trimmed, until no ".", "{" or "}"
// is left. Only single-class rules read as such; other selectors give rules without a
// class, and at-rules and comments end the reading early. Linear in the text.
std::vector<TSVGClassRule> SplitClassRules(std::wstring_view text);
// The same rules one by one, without a string of their own: the views last until the
// visitor returns. The importer makes one element per rule from these.
using TSVGClassRuleVisitor =
    std::function<void(std::wstring_view className, bool hasDeclarations, std::wstring_view declarations)>;
void ForEachClassRule(std::wstring_view text, const TSVGClassRuleVisitor& visit);

struct TSVGFontFamily {
    std::wstring Name;
    ClassLib::TFontStyles Style;
};
TSVGFontFamily ParseFontFamily(const std::wstring& text);

}  // namespace AdvGraphicsSVGEngine
