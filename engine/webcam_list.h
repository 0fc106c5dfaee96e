#pragma once
// The manager's list of webcams. It never owns the webcams: the manager frees them itself.

#include <vector>

namespace engine {

class twebcam;

class tbslist {
public:
    virtual ~tbslist() = default;
    virtual twebcam* Get(int index) const = 0;
    virtual void Put(int index, twebcam* item) = 0;
    virtual void SetOwnsObjects(bool owns) = 0;
    virtual int Count() const = 0;
    virtual int MaxCount() const = 0;
    virtual int Add(twebcam* item) = 0;
    virtual void Clear() = 0;
};

class twebcamlist1 : public tbslist {
public:
    twebcam* Get(int index) const override;  // std::out_of_range outside 0..Count()-1
    void Put(int index, twebcam* item) override;
    // The list never frees its items, whatever is asked: the manager frees the webcams.
    void SetOwnsObjects(bool) override {}
    int Count() const override { return static_cast<int>(FItems.size()); }
    int MaxCount() const override { return 0; }
    int Add(twebcam* item) override;
    void Clear() override { FItems.clear(); }

private:
    std::vector<twebcam*> FItems;
};

}  // namespace engine
