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

using Block = std::vector<const RecognisedLine*>;

// The block of a line elsewhere beside each line of `block` that has one.
std::vector<int> partnerBlocks(const Block& block, const std::vector<RecognisedLine>& lines) {
    std::vector<int> partners;
    for (const RecognisedLine* line : block) {
        for (const RecognisedLine& other : lines) {
            if (sideBySide(*line, other)) {
                partners.push_back(other.block);
                break;
            }
        }
    }
    return partners;
}

// Whether most lines of the shorter block, and at least one, sit beside lines
// of the other: a label column cut into short blocks beside its shortcuts.
bool pairedBlocks(const Block& a, const Block& b) {
    const Block& shorter = a.size() <= b.size() ? a : b;
    const Block& longer = a.size() <= b.size() ? b : a;
    int paired = 0;
    for (const RecognisedLine* line : shorter) {
        paired += std::any_of(longer.begin(), longer.end(), [&](const RecognisedLine* other) {
            return sideBySide(*line, *other);
        });
    }
    return paired > 0 && paired >= pairedShare * double(shorter.size());
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

// The blocks in reading order, each table in rows where its first block was.
QStringList texts(const std::vector<Block>& blocks, std::vector<int>& parent) {
    std::map<int, std::vector<const RecognisedLine*>> tables;
    std::map<int, int> members;
    for (size_t i = 0; i < blocks.size(); ++i) {
        auto& table = tables[root(parent, int(i))];
        table.insert(table.end(), blocks[i].begin(), blocks[i].end());
        ++members[root(parent, int(i))];
    }
    QStringList texts;
    for (size_t i = 0; i < blocks.size(); ++i) {
        const int table = root(parent, int(i));
        if (members[table] == 1) {
            for (const RecognisedLine* line : blocks[i]) {
                texts << line->text;
            }
        } else if (const auto rest = tables.find(table); rest != tables.end()) {
            texts << rows(rest->second);
            tables.erase(rest);
        }
    }
    return texts;
}

} // namespace

QStringList readingOrder(const std::vector<RecognisedLine>& lines) {
    std::map<int, Block> byId;
    for (const RecognisedLine& line : lines) {
        byId[line.block].push_back(&line);
    }
    std::vector<Block> blocks;
    std::map<int, int> index;
    for (const auto& [id, block] : byId) {
        index[id] = int(blocks.size());
        blocks.push_back(block);
    }
    std::vector<int> parent(blocks.size());
    std::iota(parent.begin(), parent.end(), 0);
    const auto join = [&](int a, int b) {
        parent[size_t(root(parent, b))] = root(parent, a);
    };
    for (size_t i = 0; i < blocks.size(); ++i) {
        const std::vector<int> partners = partnerBlocks(blocks[i], lines);
        if (blocks[i].size() >= 2 &&
            double(partners.size()) >= pairedShare * double(blocks[i].size())) {
            for (const int partner : partners) {
                join(int(i), index[partner]);
            }
        }
        for (size_t j = i + 1; j < blocks.size(); ++j) {
            if (pairedBlocks(blocks[i], blocks[j])) {
                join(int(i), int(j));
            }
        }
    }
    return texts(blocks, parent);
}

} // namespace vellumix::TableRows
