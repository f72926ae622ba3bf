#ifndef KOBJECTLISTABLE_H
#define KOBJECTLISTABLE_H

#include "KObjectBase.h"

// A node of the engine's intrusive, circular lists (KList). Both links are null
// while the node is in no list.
class KObjectListable : public KObjectBase {
public:
  KObjectListable();
  virtual ~KObjectListable();

  KObjectListable *_lpListNext;
  KObjectListable *_lpListPred;
};

#endif
