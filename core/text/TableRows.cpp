#include "text/TableRows.h"

#include <algorithm>
#include <map>
#include <numeric>

namespace vellumix::TableRows {

namespace {

bool sameRow(const RecognisedLine& a, const RecognisedLine& b) {
    const int height = std::min(a.box.height(), b.box.height());
    return std::abs(a.baseline - b.baseline) <= rowTolerance * height &&
           std::max(a.box.height(), b.box.height()) <= 2 * height;
}

bool sideBySide(const RecognisedLine& a, const RecognisedLine& b) {
    return a.block != b.block && sameRow(a, b) &&
           (a.box.left() > b.box.right() || b.box.left() > a.box.right());
}

int root(std::vector<int>& parent, int block) {
    while (parent[size_t(block)] != block) {
        block = parent[size_t(block)] = parent[size_t(parent[size_t(block)])];
    }
    return block;
}

// The lines of one table, grouped into rows from top to bottom, each row's
// cells from left to right.
QStringList rows(std::vector<const RecognisedLine*> lines) {
    std::sort(lines.begin(), lines.end(), [](const RecognisedLine* a, const RecognisedLine* b) {
        return a->baseline < b->baseline;
    });
    QStringList texts;
    for (size_t first = 0; first < lines.size();) {
        size_t end = first + 1;
        while (end < lines.size() && sameRow(*lines[first], *lines[end])) {
            ++end;
        }
        std::sort(lines.begin() + qsizetype(first), lines.begin() + qsizetype(end),
                  [](const RecognisedLine* a, const RecognisedLine* b) {
                      return a->box.left() < b->box.left();
                  });
        QStringList cells;
        for (size_t i = first; i < end; ++i) {
            cells << lines[i]->text;
        }
        texts << cells.join(QLatin1Char(' '));
        first = end;
    }
    return texts;
}

} // namespace

QStringList readingOrder(const std::vector<RecognisedLine>& lines) {
    std::map<int, std::vector<const RecognisedLine*>> blocks;
    for (const RecognisedLine& line : lines) {
        blocks[line.block].push_back(&line);
    }
    std::vector<int> ids;
    for (const auto& [id, members] : blocks) {
        ids.push_back(id);
    }
    std::map<int, size_t> index;
    for (size_t i = 0; i < ids.size(); ++i) {
        index[ids[i]] = i;
    }
    std::vector<int> parent(ids.size());
    std::iota(parent.begin(), parent.end(), 0);
    for (size_t i = 0; i < ids.size(); ++i) {
        const std::vector<const RecognisedLine*>& column = blocks[ids[i]];
        std::vector<int> partners;
        for (const RecognisedLine* line : column) {
            for (const RecognisedLine& other : lines) {
                if (sideBySide(*line, other)) {
                    partners.push_back(other.block);
                    break;
                }
            }
        }
        if (column.size() >= 2 && double(partners.size()) >= pairedShare * double(column.size())) {
            for (const int partner : partners) {
                parent[size_t(root(parent, int(index[partner])))] = root(parent, int(i));
            }
        }
    }
    std::map<int, std::vector<const RecognisedLine*>> tables;
    std::map<int, int> members;
    for (size_t i = 0; i < ids.size(); ++i) {
        auto& table = tables[root(parent, int(i))];
        table.insert(table.end(), blocks[ids[i]].begin(), blocks[ids[i]].end());
        ++members[root(parent, int(i))];
    }
    QStringList texts;
    for (size_t i = 0; i < ids.size(); ++i) {
        const int table = root(parent, int(i));
        if (members[table] == 1) {
            for (const RecognisedLine* line : blocks[ids[i]]) {
                texts << line->text;
            }
        } else if (const auto rest = tables.find(table); rest != tables.end()) {
            texts << rows(rest->second);
            tables.erase(rest);
        }
    }
    return texts;
}

} // namespace vellumix::TableRows
