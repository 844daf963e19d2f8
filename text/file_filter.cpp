#include "text/file_filter.h"

#include <windows.h>
#include <wchar.h>

// Pairs of description and pattern list; the literal's own terminator adds
// the second NUL that ends the table.
const wchar_t FileFilterTable[] =
    L"Text Files (*.txt;*.log;*.diz;*.nfo;*.ini;*.csv;*.text)" L"\0"
    L"*.txt;*.log;*.diz;*.nfo;*.ini;*.csv;*.text" L"\0"
    L"ASP Files (*.asp;*.aspx;*.asmx;*.asax;*.asa;*.inc;)" L"\0"
    L"*.asp;*.aspx;*.asmx;*.asax;*.asa;*.inc;" L"\0"
    L"C/C++ Files (*.c;*.cc;*.cpp;*.cxx;*.h;*.hh;*.hpp;*.hxx;)" L"\0"
    L"*.c;*.cc;*.cpp;*.cxx;*.h;*.hh;*.hpp;*.hxx;" L"\0"
    L"HTML/JScript Files (*.htm;*.html;*.shtml;*.xhtml;*.css;*.js;*.hhc;*.inc;)" L"\0"
    L"*.htm;*.html;*.shtml;*.xhtml;*.css;*.js;*.hhc;*.inc;" L"\0"
    L"Java/JSP Files (*.java;*.jsp;*.inc;)" L"\0"
    L"*.jsp;*.java;*.inc;" L"\0"
    L"MS-DOS Batch Files (*.bat;*.cmd;)" L"\0"
    L"*.bat;*.cmd;" L"\0"
    L"Perl Files (*.pl;*.pm;*.cgi;*.inc;)" L"\0"
    L"*.pl;*.pm;*.cgi;*.inc;" L"\0"
    L"PHP Files (*.php;*.php3;*.php4;*.phtml;*.inc;)" L"\0"
    L"*.php;*.php3;*.php4;*.phtml;*.inc;" L"\0"
    L"RSS/RDF Files (*.rdf;*.rss;)" L"\0"
    L"*.rdf;*.rss;" L"\0"
    L"SQL Files (*.sql;*.pkg;*.prc;)" L"\0"
    L"*.sql;*.pkg;*.prc;" L"\0"
    L"VB/VBScript Files (*.vbs;*.vb;*.bas;)" L"\0"
    L"*.vbs;*.vb;*.bas;" L"\0"
    L"XML/XSL/XHTML Files (*.xml;*.xsd;*.xsl;*.xslt;*.xhtml;*.vxml;*.dtd;*.fo;)" L"\0"
    L"*.xml;*.xsd;*.xsl;*.xslt;*.xhtml;*.vxml;*.dtd;*.fo;" L"\0"
    L"All Files (*.*)" L"\0"
    L"*.*" L"\0";

// Does one pattern list ("*.a;*.b;") name the extension (".b")?
static int PatternListHas(const wchar_t* patterns, const wchar_t* extension)
{
    const wchar_t* start = patterns;
    while (*start) {
        const wchar_t* end = wcschr(start, L';');
        size_t length = end ? (size_t)(end - start) : wcslen(start);
        wchar_t pattern[64];
        // Drop the leading asterisk; a pattern too long to hold names no extension here.
        if (length > 1 && length - 1 < sizeof(pattern) / sizeof(pattern[0])) {
            lstrcpynW(pattern, start + 1, (int)length);
            if (lstrcmpiW(pattern, extension) == 0)
                return 1;
        }
        if (!end)
            break;
        start = end + 1;
    }
    return 0;
}

int FilterIndexForPath(const wchar_t* path)
{
    if (!path)
        return 0;
    const wchar_t* extension = wcsrchr(path, L'.');
    if (!extension)
        return 0;
    const wchar_t* entry = FileFilterTable;
    for (int index = 1; *entry; index++) {
        const wchar_t* patterns = entry + wcslen(entry) + 1;
        if (PatternListHas(patterns, extension))
            return index;
        entry = patterns + wcslen(patterns) + 1;
    }
    return 0;
}
