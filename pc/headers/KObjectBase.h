#ifndef KOBJECTBASE_H
#define KOBJECTBASE_H

// Root of the engine's list objects: no data, a virtual destructor so that any
// object can be deleted through a base pointer.
class KObjectBase {
public:
  KObjectBase();
  virtual ~KObjectBase();
};

#endif
