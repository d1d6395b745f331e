// One item read by the XML pull parser.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace Zarvo {

struct XMLElement {
    enum Type {
        TYPE_NONE = 0,
        TYPE_START = 1,
        TYPE_END = 2,
        TYPE_TEXT = 3,
        TYPE_INSTRUCTION = 4,
        TYPE_COMMENT = 5
    };

    int type = TYPE_NONE;
    std::string section;      // enclosing start elements, each as "/" + name
    std::string value;        // tag name, text, instruction target or comment content
    std::string instruction;  // the rest of an instruction after its target
    std::map<std::string, std::string> attributes;  // a repeated name keeps the last value
    std::vector<std::pair<std::string, std::string>> attributeList;  // in document order
};

}  // namespace Zarvo
