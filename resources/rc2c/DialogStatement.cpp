// The DIALOG and DIALOGEX statements of RcParser:
//
//   name DIALOG[EX] x, y, width, height [, help id (DIALOGEX)]
//   STYLE style | ... | NOT style   EXSTYLE ...   CAPTION "text"   CLASS "name"   MENU name
//   FONT points, "face" [, weight, italic, charset (DIALOGEX)]
//   BEGIN control statements END
//
// Without STYLE a dialog is WS_POPUP | WS_BORDER | WS_SYSMENU; CAPTION adds WS_CAPTION and FONT
// adds DS_SETFONT whatever the STYLE says. A DIALOGEX font without weight, italic and charset has
// weight 0, not italic, and DEFAULT_CHARSET (1).
//
// Control statements, each a child window that is visible (WS_CHILD | WS_VISIBLE), of the class
// named by its ordinal:
//
//   LTEXT, RTEXT, CTEXT, PUSHBUTTON, DEFPUSHBUTTON, CHECKBOX, AUTOCHECKBOX, GROUPBOX
//       "text", id, x, y, width, height [, style [, exstyle [, help id]]]
//   LISTBOX, EDITTEXT   id, x, y, width, height [, style [, exstyle [, help id]]]
//   ICON icon, id, x, y [, width, height [, style [, exstyle [, help id]]]]
//   CONTROL "text" or ordinal, id, "class", style, x, y, width, height [, exstyle [, help id]]
//
// A statement without a style expression has its default style (the table below). A style
// expression starts from the statement's base style instead, which is its default except for the
// text statements, whose base leaves out WS_GROUP: "LTEXT ..., SS_NOPREFIX" is not in a group. An
// icon control sizes itself to its icon, so its width and height are written as 0; its icon is an
// ordinal, or a name in upper case as named resources are stored. A CONTROL's class names one of
// the predefined classes (Button, Edit, Static, ListBox, ScrollBar, ComboBox, in any case) by its
// ordinal, 0x80 to 0x85; other class names, like the dialog's CLASS and MENU names, are written in
// upper case (the system compares class names without regard to case).
#include "RcParser.h"

#include <strings.h>

namespace rc2c {

namespace {

constexpr uint32_t ChildVisible = 0x50000000;       // WS_CHILD | WS_VISIBLE
constexpr uint32_t DialogDefaultStyle = 0x80880000; // WS_POPUP | WS_BORDER | WS_SYSMENU
constexpr uint32_t WsCaption = 0x00C00000;
constexpr uint32_t DsSetFont = 0x0040;
constexpr uint32_t WsGroup = 0x00020000;
constexpr uint32_t WsTabStop = 0x00010000;
constexpr uint32_t WsBorder = 0x00800000;
constexpr uint32_t SsIcon = 0x0003;
constexpr uint8_t DefaultCharset = 1;

constexpr uint16_t ClassButton = 0x80;
constexpr uint16_t ClassEdit = 0x81;
constexpr uint16_t ClassStatic = 0x82;
constexpr uint16_t ClassListBox = 0x83;

struct ControlStatement {
    const char* Keyword;
    uint16_t Class;
    uint32_t DefaultStyle; // without a style expression
    uint32_t BaseStyle;    // what a style expression starts from
    bool HasText;
};

const ControlStatement ControlStatements[] = {
    {"LTEXT", ClassStatic, 0x0000 | WsGroup, 0x0000, true},
    {"RTEXT", ClassStatic, 0x0002 | WsGroup, 0x0002, true},
    {"CTEXT", ClassStatic, 0x0001 | WsGroup, 0x0001, true},
    {"PUSHBUTTON", ClassButton, 0x0000 | WsTabStop, 0x0000 | WsTabStop, true},
    {"DEFPUSHBUTTON", ClassButton, 0x0001 | WsTabStop, 0x0001 | WsTabStop, true},
    {"CHECKBOX", ClassButton, 0x0002 | WsTabStop, 0x0002 | WsTabStop, true},
    {"AUTOCHECKBOX", ClassButton, 0x0003 | WsTabStop, 0x0003 | WsTabStop, true},
    {"GROUPBOX", ClassButton, 0x0007, 0x0007, true},
    {"LISTBOX", ClassListBox, 0x0001 | WsBorder, 0x0001 | WsBorder, false},
    {"EDITTEXT", ClassEdit, WsBorder | WsTabStop, WsBorder | WsTabStop, false},
};

const char* const PredefinedClasses[] = {"Button",  "Edit",      "Static",
                                         "ListBox", "ScrollBar", "ComboBox"};

NameOrOrdinal ordinal(uint32_t Value) {
    NameOrOrdinal N;
    N.IsOrdinal = true;
    N.Ordinal = static_cast<uint16_t>(Value);
    return N;
}

NameOrOrdinal name(const std::string& Text) {
    NameOrOrdinal N;
    N.Name = Text;
    return N;
}

NameOrOrdinal controlClass(const std::string& Name) {
    for (uint16_t I = 0; I < sizeof PredefinedClasses / sizeof PredefinedClasses[0]; ++I)
        if (strcasecmp(Name.c_str(), PredefinedClasses[I]) == 0)
            return ordinal(0x80u + I);
    return name(upperCase(Name));
}

} // namespace

void RcParser::expectComma(RcLexer& Lex, const char* Between) {
    Token T = next(Lex);
    if (T.Kind != TokenKind::Comma)
        throw RcError(Lex.at(T.Line),
                      std::string("expected ',' ") + Between + ", found " + describe(T));
}

bool RcParser::optionalComma(RcLexer& Lex) {
    Token T = next(Lex);
    if (T.Kind == TokenKind::Comma)
        return true;
    pushBack(T);
    return false;
}

uint32_t RcParser::styleExpression(RcLexer& Lex, uint32_t Style) {
    for (;;) {
        Token T = next(Lex);
        const bool Not = isKeyword(T, "NOT");
        if (Not)
            T = next(Lex);
        uint32_t Bits = number(Lex, T, "a style");
        Style = Not ? Style & ~Bits : Style | Bits;
        Token Op = next(Lex);
        if (Op.Kind != TokenKind::Pipe) {
            pushBack(Op);
            return Style;
        }
    }
}

NameOrOrdinal RcParser::nameOrOrdinal(RcLexer& Lex, const Token& T, bool UpperCaseNames) {
    if (T.Kind == TokenKind::String)
        return name(UpperCaseNames ? upperCase(T.Text) : T.Text);
    if (T.Kind == TokenKind::Identifier && Defines.count(T.Text) == 0 && UpperCaseNames)
        return name(upperCase(T.Text));
    uint32_t Value = number(Lex, T, "a name or a number");
    if (Value > 0xFFFF)
        throw RcError(Lex.at(T.Line),
                      "ordinal " + std::to_string(Value) + " is out of range (0 to 65535)");
    return ordinal(Value);
}

void RcParser::dialog(RcLexer& Lex, const ResourceName& Name, const Token& First, bool Extended) {
    DialogTemplate D;
    D.Extended = Extended;
    skipMemoryOptions(Lex);
    D.X = number(Lex, next(Lex), "the dialog's x");
    expectComma(Lex, "after the dialog's x");
    D.Y = number(Lex, next(Lex), "the dialog's y");
    expectComma(Lex, "after the dialog's y");
    D.Width = number(Lex, next(Lex), "the dialog's width");
    expectComma(Lex, "after the dialog's width");
    D.Height = number(Lex, next(Lex), "the dialog's height");
    if (Extended && optionalComma(Lex))
        D.HelpId = number(Lex, next(Lex), "the dialog's help id");

    bool StyleGiven = false;
    uint32_t Style = 0, Implied = 0;
    for (Token T = next(Lex);; T = next(Lex)) {
        if (isKeyword(T, "BEGIN") || T.Kind == TokenKind::LeftBrace)
            break;
        if (isKeyword(T, "STYLE")) {
            Style = styleExpression(Lex, 0);
            StyleGiven = true;
        } else if (isKeyword(T, "EXSTYLE")) {
            D.ExStyle = styleExpression(Lex, 0);
        } else if (isKeyword(T, "CAPTION")) {
            Token Caption = next(Lex);
            if (Caption.Kind != TokenKind::String)
                throw RcError(Lex.at(Caption.Line),
                              "expected the caption in quotes, found " + describe(Caption));
            D.Caption = Caption.Text;
            Implied |= WsCaption;
        } else if (isKeyword(T, "FONT")) {
            uint32_t Points = number(Lex, next(Lex), "the font's point size");
            expectComma(Lex, "after the font's point size");
            Token Face = next(Lex);
            if (Face.Kind != TokenKind::String)
                throw RcError(Lex.at(Face.Line),
                              "expected the font's name in quotes, found " + describe(Face));
            D.HasFont = true;
            D.PointSize = static_cast<uint16_t>(Points);
            D.FontName = Face.Text;
            D.Charset = DefaultCharset;
            Implied |= DsSetFont;
            if (optionalComma(Lex)) {
                if (!Extended)
                    throw RcError(Lex.at(Face.Line),
                                  "a font's weight, italic and charset need DIALOGEX");
                D.Weight = static_cast<uint16_t>(number(Lex, next(Lex), "the font's weight"));
                if (optionalComma(Lex))
                    D.Italic = static_cast<uint8_t>(number(Lex, next(Lex), "the italic flag"));
                if (optionalComma(Lex))
                    D.Charset = static_cast<uint8_t>(number(Lex, next(Lex), "the charset"));
            }
        } else if (isKeyword(T, "CLASS")) {
            D.Class = nameOrOrdinal(Lex, next(Lex), true);
        } else if (isKeyword(T, "MENU")) {
            D.Menu = nameOrOrdinal(Lex, next(Lex), true);
        } else {
            throw RcError(Lex.at(T.Line), "expected BEGIN or a dialog option (STYLE, EXSTYLE, "
                                          "CAPTION, FONT, CLASS, MENU), found " +
                                              describe(T));
        }
    }
    D.Style = (StyleGiven ? Style : DialogDefaultStyle) | Implied;

    for (Token T = next(Lex);; T = next(Lex)) {
        if (isKeyword(T, "END") || T.Kind == TokenKind::RightBrace)
            break;
        if (T.Kind == TokenKind::EndOfFile)
            throw RcError(Lex.at(First.Line), "dialog has no END");
        dialogControl(Lex, T, D);
    }
    if (D.Controls.size() > 0xFFFF)
        throw RcError(Lex.at(First.Line), "dialog has more than 65535 controls");
    Out.add(ResourceTypeDialog, Language, Name, templateBytes(D), Lex.at(First.Line));
}

void RcParser::dialogControl(RcLexer& Lex, const Token& Keyword, DialogTemplate& D) {
    DialogControl C;
    if (isKeyword(Keyword, "ICON")) {
        C.Text = nameOrOrdinal(Lex, next(Lex), true);
        expectComma(Lex, "after the icon");
        C.Id = number(Lex, next(Lex), "the control's id");
        expectComma(Lex, "after the control's id");
        C.X = number(Lex, next(Lex), "the control's x");
        expectComma(Lex, "after the control's x");
        C.Y = number(Lex, next(Lex), "the control's y");
        C.Class = ordinal(ClassStatic);
        C.Style = ChildVisible | SsIcon;
        if (optionalComma(Lex)) {
            number(Lex, next(Lex), "the control's width");
            expectComma(Lex, "after the control's width");
            number(Lex, next(Lex), "the control's height");
            controlOptions(Lex, D, C, true, ChildVisible | SsIcon);
        }
        D.Controls.push_back(C);
        return;
    }
    if (isKeyword(Keyword, "CONTROL")) {
        Token Text = next(Lex);
        C.Text = nameOrOrdinal(Lex, Text, false);
        expectComma(Lex, "after the control's text");
        C.Id = number(Lex, next(Lex), "the control's id");
        expectComma(Lex, "after the control's id");
        Token Class = next(Lex);
        if (Class.Kind != TokenKind::String)
            throw RcError(Lex.at(Class.Line),
                          "expected the control's class in quotes, found " + describe(Class));
        C.Class = controlClass(Class.Text);
        expectComma(Lex, "after the control's class");
        C.Style = styleExpression(Lex, ChildVisible);
        expectComma(Lex, "after the control's style");
        controlPlacement(Lex, C);
        controlOptions(Lex, D, C, false, 0);
        D.Controls.push_back(C);
        return;
    }
    const ControlStatement* S = nullptr;
    for (const ControlStatement& Candidate : ControlStatements)
        if (isKeyword(Keyword, Candidate.Keyword))
            S = &Candidate;
    if (S == nullptr)
        throw RcError(Lex.at(Keyword.Line),
                      "expected a control statement or END, found " + describe(Keyword));
    if (S->HasText) {
        Token Text = next(Lex);
        if (Text.Kind != TokenKind::String)
            throw RcError(Lex.at(Text.Line), std::string("expected the text of the ") + S->Keyword +
                                                 " in quotes, found " + describe(Text));
        C.Text = name(Text.Text);
        expectComma(Lex, "after the control's text");
    }
    C.Id = number(Lex, next(Lex), "the control's id");
    expectComma(Lex, "after the control's id");
    controlPlacement(Lex, C);
    C.Class = ordinal(S->Class);
    C.Style = ChildVisible | S->DefaultStyle;
    controlOptions(Lex, D, C, true, ChildVisible | S->BaseStyle);
    D.Controls.push_back(C);
}

void RcParser::controlPlacement(RcLexer& Lex, DialogControl& C) {
    C.X = number(Lex, next(Lex), "the control's x");
    expectComma(Lex, "after the control's x");
    C.Y = number(Lex, next(Lex), "the control's y");
    expectComma(Lex, "after the control's y");
    C.Width = number(Lex, next(Lex), "the control's width");
    expectComma(Lex, "after the control's width");
    C.Height = number(Lex, next(Lex), "the control's height");
}

void RcParser::controlOptions(RcLexer& Lex, const DialogTemplate& D, DialogControl& C,
                              bool StyleFirst, uint32_t StyleBase) {
    if (StyleFirst) {
        if (!optionalComma(Lex))
            return;
        C.Style = styleExpression(Lex, StyleBase);
    }
    if (!optionalComma(Lex))
        return;
    C.ExStyle = styleExpression(Lex, 0);
    if (!optionalComma(Lex))
        return;
    Token Help = next(Lex);
    if (!D.Extended)
        throw RcError(Lex.at(Help.Line), "a control's help id needs DIALOGEX");
    C.HelpId = number(Lex, Help, "the control's help id");
}

} // namespace rc2c
