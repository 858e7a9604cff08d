#include "matrix/matrix_export.h"

#include "base/escaping.h"
#include "platform/file.h"

#include <cctype>
#include <cerrno>

namespace tavu {

namespace {

// Written visibly, so that no character reorders or hides what follows it.
std::string visible(std::string_view text) {
    return escapedControls(text, {});
}

void appendCsvField(std::string& csv, std::string_view text) {
    const std::string field = visible(text);
    const bool formula =
        !field.empty() && std::string_view("=+-@").find(field.front()) != std::string_view::npos;
    csv += '"';
    if (formula) {
        csv += '\'';
    }
    for (const char c : field) {
        csv += c;
        if (c == '"') {
            csv += '"';
        }
    }
    csv += '"';
}

void appendHtml(std::string& html, std::string_view text) {
    for (const char c : visible(text)) {
        switch (c) {
        case '&':
            html += "&amp;";
            break;
        case '<':
            html += "&lt;";
            break;
        case '>':
            html += "&gt;";
            break;
        case '"':
            html += "&quot;";
            break;
        case '\'':
            html += "&#39;";
            break;
        default:
            html += c;
        }
    }
}

// The header row and the path column stick while the rest scrolls under them.
constexpr std::string_view kHtmlStyle =
    "body{font:13px sans-serif;margin:0}h1{font-size:16px;margin:8px}"
    ".scroll{overflow:auto;max-height:calc(100vh - 48px)}"
    "table{border-collapse:separate;border-spacing:0}"
    "th,td{border-bottom:1px solid #ddd;border-right:1px solid #eee;padding:2px 6px;white-space:nowrap}"
    "thead th{position:sticky;top:0;background:#f0f0f0;z-index:2;vertical-align:bottom}"
    "thead th:first-child{left:0;z-index:3}"
    "tbody th{position:sticky;left:0;background:#fff;text-align:left;font-weight:normal;z-index:1}"
    "tbody tr.submenu th{background:#e8eef8;font-weight:bold}"
    "td{text-align:center}td.off{color:#999}small{font-weight:normal;color:#555}";

void appendHtmlHeader(std::string& html, const ProfileMatrix& matrix) {
    html += "<thead><tr><th scope=\"col\">Item</th>";
    for (std::size_t profile = 0; profile < matrix.profiles().size(); ++profile) {
        html += "<th scope=\"col\">";
        appendHtml(html, matrix.profiles()[profile]);
        html += "<br><small>" + std::to_string(matrix.writtenCount(profile)) + " items</small></th>";
    }
    html += "</tr></thead>\n";
}

void appendHtmlItem(std::string& html, const ProfileMatrix& matrix, std::size_t row) {
    const MatrixItem& item = matrix.items()[row];
    html += "<tr><th scope=\"row\" title=\"";
    appendHtml(html, item.command);
    html += "\">";
    appendHtml(html, item.path);
    html += "</th>";
    for (std::size_t profile = 0; profile < matrix.profiles().size(); ++profile) {
        const Mark mark = matrix.mark(row, profile);
        html += mark == Mark::SwitchedOff ? "<td class=\"off\">" : "<td>";
        html += markText(mark);
        html += "</td>";
    }
    html += "</tr>\n";
}

} // namespace

std::string_view markText(Mark mark) {
    switch (mark) {
    case Mark::Written:
        return "x";
    case Mark::SwitchedOff:
        return "off";
    case Mark::Absent:
        break;
    }
    return {};
}

Result<Done, MatrixFileUnwritable>
writeMatrixFile(const ProfileMatrix& matrix, const std::filesystem::path& path, std::string_view title) {
    std::string extension = path.extension().string();
    for (char& c : extension) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    const bool html = extension == ".html" || extension == ".htm";
    if (!writeFileAtomically(path, html ? matrixHtml(matrix, title) : matrixCsv(matrix))) {
        return MatrixFileUnwritable{path, errno};
    }
    return Done{};
}

std::string_view submenuOf(const MatrixItem& item) {
    const auto cut = item.path.rfind('\\');
    return cut == std::string::npos ? std::string_view() : std::string_view(item.path).substr(0, cut);
}

std::string matrixCsv(const ProfileMatrix& matrix) {
    std::string csv = "\"identity\",\"path\",\"command\"";
    for (const std::string& name : matrix.profiles()) {
        csv += ',';
        appendCsvField(csv, name);
    }
    csv += "\r\n";
    for (std::size_t row = 0; row < matrix.items().size(); ++row) {
        const MatrixItem& item = matrix.items()[row];
        appendCsvField(csv, item.identity);
        csv += ',';
        appendCsvField(csv, item.path);
        csv += ',';
        appendCsvField(csv, item.command);
        for (std::size_t profile = 0; profile < matrix.profiles().size(); ++profile) {
            csv += ',';
            csv += markText(matrix.mark(row, profile));
        }
        csv += "\r\n";
    }
    return csv;
}

std::string matrixHtml(const ProfileMatrix& matrix, std::string_view title) {
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>";
    appendHtml(html, title);
    html += "</title><style>";
    html += kHtmlStyle;
    html += "</style></head><body><h1>";
    appendHtml(html, title);
    html += "</h1><div class=\"scroll\"><table>\n";
    appendHtmlHeader(html, matrix);
    const std::string columns = std::to_string(matrix.profiles().size());
    std::string_view group = "\n"; // no submenu's path holds a line break unescaped
    for (std::size_t row = 0; row < matrix.items().size(); ++row) {
        const std::string_view submenu = submenuOf(matrix.items()[row]);
        if (submenu != group) {
            html += row == 0 ? "<tbody>" : "</tbody><tbody>";
            if (!submenu.empty()) {
                html += "<tr class=\"submenu\"><th scope=\"rowgroup\">";
                appendHtml(html, submenu);
                html += "</th><td colspan=\"" + columns + "\"></td></tr>\n";
            }
            group = submenu;
        }
        appendHtmlItem(html, matrix, row);
    }
    html += matrix.items().empty() ? "" : "</tbody>";
    html += "</table></div></body></html>\n";
    return html;
}

} // namespace tavu
