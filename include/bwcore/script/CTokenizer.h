// CTokenizer: splits installation script text into the coarse tokens that the function parser
// needs to find declarations and their lines.
//
// The tokenizer reads its stream one line at a time into a buffer of its own and allocates
// nothing. Lines are counted from 1: while the tokens of a line are delivered, GetLineNo is that
// line's number. A line cut by the stream after 2047 bytes counts as a line of its own.
//
// Words are runs of ASCII letters, digits and "_". A byte of 0x80 or above never belongs to a
// word, and outside strings and block comments a double-byte character is not kept whole: its
// lead byte is dropped and its trail byte examined on its own. Strings and block comments step
// over double-byte characters of the process's ANSI code page, so a trail byte that looks like a
// quote, a backslash or a star does not end them.
//
// Token texts: after a word, a directive, a string or a line comment, GetTokenText gives its text
// (at most 200 bytes). Parentheses, commas, semicolons and eTokNone do not move the token start,
// so the text then runs from the start of the last such token to the current position, or is
// empty when that start lies beyond the position on a new line.
#pragma once

#include <bwcore/script/CCodeStream.h>

// Token kinds. The values cross the exported interface; 0 is never produced.
enum eToken {
    eTokEndOfFile = 1,
    eTokFunction = 2,
    eTokBegin = 3,
    eTokEnd = 4,
    eTokIdentifier = 5,
    eTokPPIf = 6,
    eTokPPEndif = 7,
    eTokPPInclude = 8,
    eTokString = 9,
    eTokComment = 10,
    eTokOpenParen = 11,
    eTokCloseParen = 12,
    eTokProperty = 13,
    eTokExport = 14,
    eTokPrototype = 15,
    eTokSemicolon = 16,
    eTokComma = 17,
    eTokNone = 18,
    eTokMethod = 19,
};

class BWCORE_API CTokenizer {
public:
    // The size of the buffer that GetTokenText fills: a token text and its terminating zero byte.
    static constexpr int TokenTextSize = 201;

    // The stream is not owned and must outlive the tokenizer. With bReturnComments, a line
    // comment is delivered as eTokComment; otherwise it is skipped.
    CTokenizer(CCodeStream* pCodeStream, bool bReturnComments);
    CTokenizer(const CTokenizer& other) = default;
    // Copies everything, the line buffer included; both then read the same stream.
    CTokenizer& operator=(const CTokenizer& other) = default;
    ~CTokenizer() = default;

    // The kind of the next token; eTokEndOfFile at the end of the stream and ever after.
    eToken Fetch();
    // Fetches until a token of kind eFirst, or of kind eSecond unless that is eTokNone, comes and
    // returns its kind; eTokEndOfFile at the end of the stream. Other tokens are dropped.
    eToken Scan(eToken eFirst, eToken eSecond);
    // Copies the current token's text, at most 200 bytes, and a zero byte into pszText
    // (TokenTextSize bytes).
    void GetTokenText(char* pszText) const;
    // Drops the rest of the current line and reads the next; false when the stream has none, in
    // which case the rest of the current line is still delivered.
    bool GetLine();
    int GetLineNo() const { return m_nLine; }
    CCodeStream* GetCodeStream() const { return m_pCodeStream; }

protected:
    // The kind of the word between m_nTokenStart and m_nPos.
    eToken DetermineToken() const;
    // The kind of the directive word between m_nTokenStart and m_nPos.
    eToken DeterminePPCToken() const;
    // After "#": reads the directive word on the same line; false when there is none.
    bool IsPPCdirective();
    // Whether the character (one byte, or lead byte * 256 + trail byte) is a letter or digit of
    // the ANSI code page, or "_": the bytes are converted from the code page and the character
    // classified by the C library's wide-character classes (which follow LC_CTYPE where the
    // C library makes them locale-dependent). The scanning does not use it.
    bool IsIDChar(unsigned int nChar) const;
    // After "/": skips a comment and returns the kind to deliver.
    eToken SkipComments();
    // After a quote: skips the string up to its closing quote or the end of the line.
    bool SkipString();

    CCodeStream* m_pCodeStream;
    int m_nLine;
    char m_szLine[CCodeStream::LineBufferSize];
    int m_nPos;
    int m_nTokenStart;
    bool m_bReturnComments;

private:
    // Reads the next line of the stream into m_szLine; false when the stream is exhausted.
    bool ReadLine();
};
