#pragma once

#include <map>
#include <string>

namespace Zarvo {

// What every resource record of the manifest holds.
class BaseRes {
public:
    enum Type { ResType_Image = 0, ResType_Sound = 1, ResType_Font = 2 };

    explicit BaseRes(int kind) : type(kind) {}
    BaseRes(const BaseRes&) = delete;
    BaseRes& operator=(const BaseRes&) = delete;
    virtual ~BaseRes() = default;
    // Frees what was loaded for the record; the record itself stays and can be loaded again.
    virtual void DeleteResource() {}

    int type;
    std::string id;        // with the id prefix applied
    std::string resGroup;  // the section the record came from
    std::string path;      // with the default path applied, or a special path beginning with '!'
    std::map<std::string, std::string> xmlAttributes;
    bool fromProgram = false;  // the path was "!program": the program supplies this itself
};

}  // namespace Zarvo
