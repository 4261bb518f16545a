#pragma once

// Kinds and states shared by the connection, the datasets and their fields.

/// Storage kind of a field, after the column types of the project database.
enum class TFieldType {
    ftUnknown,   ///< column of an expression whose type could not be told
    ftAutoInc,   ///< AutoNumber: 32-bit integer assigned by the engine, read-only
    ftString,    ///< Text(n): at most n characters (TField::Size)
    ftInteger,   ///< Long: 32-bit signed integer
    ftSmallint,  ///< Integer: 16-bit signed integer
    ftFloat,     ///< Double: 64-bit floating point
    ftBoolean,   ///< Yes/No
    ftMemo,      ///< Memo: text of any length
    ftDate,      ///< Date: calendar date without time of day
    ftDateTime,  ///< Date/Time: date with time of day
    ftBlob       ///< binary data (not used by the schema, read as it is)
};

/// Where a field's value comes from.
enum class TFieldKind {
    fkData,        ///< a column of the dataset's query
    fkLookup,      ///< looked up in another dataset by a key field
    fkCalculated   ///< set by the dataset's OnCalcFields handler
};

/// State of a dataset.
enum class TDataSetState {
    dsInactive,   ///< closed
    dsBrowse,     ///< open, no pending change
    dsEdit,       ///< the current row is being changed
    dsInsert,     ///< a new row is being entered
    dsCalcFields  ///< inside OnCalcFields: only derived fields may be set
};
