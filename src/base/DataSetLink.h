#pragma once

// What a data-bound list control needs of the data set behind it: each row of
// the control's model is one record of the data set, in order.
class DataSetLink
{
public:
    virtual ~DataSetLink() = default;

    // False while the data set is closed.
    virtual bool isActive() const = 0;

    // The 1-based record number of the record shown on a model row, or 0 for
    // a row without one (a new record not yet saved).
    virtual int recordNumber(int row) const = 0;

    // The model row of the current record, or -1 when there is none.
    virtual int currentRow() const = 0;

    // Makes the record on row current (saving an edited record first, as any
    // move does). Returns false when the move was refused.
    virtual bool moveToRow(int row) = 0;

    // Moves the current record by distance records (negative: backward), as
    // far as the data set allows. Returns the number of records moved, signed.
    virtual int moveBy(int distance) = 0;
};
