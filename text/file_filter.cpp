#include "text/file_filter.h"

#include <windows.h>
#include <string.h>

// Pairs of description and pattern list; the literal's own terminator adds
// the second NUL that ends the table.
const char FileFilterTable[] =
    "Text Files (*.txt;*.log;*.diz;*.nfo;*.ini;*.csv;*.text)" "\0"
    "*.txt;*.log;*.diz;*.nfo;*.ini;*.csv;*.text" "\0"
    "ASP Files (*.asp;*.aspx;*.asmx;*.asax;*.asa;*.inc;)" "\0"
    "*.asp;*.aspx;*.asmx;*.asax;*.asa;*.inc;" "\0"
    "C/C++ Files (*.c;*.cc;*.cpp;*.cxx;*.h;*.hh;*.hpp;*.hxx;)" "\0"
    "*.c;*.cc;*.cpp;*.cxx;*.h;*.hh;*.hpp;*.hxx;" "\0"
    "HTML/JScript Files (*.htm;*.html;*.shtml;*.xhtml;*.css;*.js;*.hhc;*.inc;)" "\0"
    "*.htm;*.html;*.shtml;*.xhtml;*.css;*.js;*.hhc;*.inc;" "\0"
    "Java/JSP Files (*.java;*.jsp;*.inc;)" "\0"
    "*.jsp;*.java;*.inc;" "\0"
    "MS-DOS Batch Files (*.bat;*.cmd;)" "\0"
    "*.bat;*.cmd;" "\0"
    "Perl Files (*.pl;*.pm;*.cgi;*.inc;)" "\0"
    "*.pl;*.pm;*.cgi;*.inc;" "\0"
    "PHP Files (*.php;*.php3;*.php4;*.phtml;*.inc;)" "\0"
    "*.php;*.php3;*.php4;*.phtml;*.inc;" "\0"
    "RSS/RDF Files (*.rdf;*.rss;)" "\0"
    "*.rdf;*.rss;" "\0"
    "SQL Files (*.sql;*.pkg;*.prc;)" "\0"
    "*.sql;*.pkg;*.prc;" "\0"
    "VB/VBScript Files (*.vbs;*.vb;*.bas;)" "\0"
    "*.vbs;*.vb;*.bas;" "\0"
    "XML/XSL/XHTML Files (*.xml;*.xsd;*.xsl;*.xslt;*.xhtml;*.vxml;*.dtd;*.fo;)" "\0"
    "*.xml;*.xsd;*.xsl;*.xslt;*.xhtml;*.vxml;*.dtd;*.fo;" "\0"
    "All Files (*.*)" "\0"
    "*.*" "\0";

// Does one pattern list ("*.a;*.b;") name the extension (".b")?
static int PatternListHas(const char* patterns, const char* extension)
{
    const char* start = patterns;
    while (*start) {
        const char* end = strchr(start, ';');
        size_t length = end ? (size_t)(end - start) : strlen(start);
        char pattern[64];
        // Drop the leading asterisk; a pattern too long to hold names no extension here.
        if (length > 1 && length - 1 < sizeof(pattern)) {
            lstrcpynA(pattern, start + 1, (int)length);
            if (lstrcmpiA(pattern, extension) == 0)
                return 1;
        }
        if (!end)
            break;
        start = end + 1;
    }
    return 0;
}

int FilterIndexForPath(const char* path)
{
    if (!path)
        return 0;
    const char* extension = strrchr(path, '.');
    if (!extension)
        return 0;
    const char* entry = FileFilterTable;
    for (int index = 1; *entry; index++) {
        const char* patterns = entry + strlen(entry) + 1;
        if (PatternListHas(patterns, extension))
            return index;
        entry = patterns + strlen(patterns) + 1;
    }
    return 0;
}
