import os
from typing import List, Literal, NamedTuple, Optional, Sequence, Tuple, Union, overload

import numpy as np
import numpy.typing as npt

__all__: List[str]
__version__: str
MIN_SERIES_LENGTH: int
MAX_SERIES_LENGTH: int
RESCALINGS: Tuple[str, ...]
SURROGATE_KINDS: Tuple[str, ...]
DEFAULT_SEED: int
IAAFT_ITERATIONS: int
MNIST_FILES: Tuple[str, ...]
DEFAULT_MNIST_DIR: str
DEFAULT_T_PATTERN: str

_Series = Union[npt.ArrayLike, Sequence[float]]
_Counts = Union[int, Sequence[int]]
_Path = Union[str, os.PathLike[str]]

class DatasetError(OSError): ...

class Result:
    value: float
    value_text: str
    correct_count: int
    tested_count: int
    n: int
    method: int
    epochs: int
    w2: npt.NDArray[np.float64]
    w2_sha256: str
    datasets_sha256: str
    seconds: float
    warnings: List[str]
    relative_change: Optional[float]
    version: str
    start: int
    window: Optional[int]
    rescale: str
    scale: int
    surrogates: int
    surrogate_kind: str
    seed: int
    surrogate_values: npt.NDArray[np.float64]
    surrogate_mean: Optional[float]
    surrogate_sd: Optional[float]
    z_score: Optional[float]
    p_value: Optional[float]

class Columns(NamedTuple):
    values: npt.NDArray[np.float64]
    warnings: List[str]

class Calculator:
    def __init__(self, mnist_dir: Optional[_Path] = ..., t_pattern: Optional[_Path] = ...) -> None: ...
    @property
    def mnist_dir(self) -> str: ...
    @property
    def t_pattern(self) -> str: ...
    def value(self, x: _Series, method: int = ..., epochs: int = ..., rescale: str = ...) -> float: ...
    @overload
    def compute(self, x: _Series, method: int = ..., epochs: int = ..., rescale: str = ...,
                surrogates: int = ..., surrogate_kind: str = ..., seed: int = ..., scales: Optional[int] = ...) -> Result: ...
    @overload
    def compute(self, x: _Series, method: int = ..., epochs: int = ..., rescale: str = ...,
                surrogates: int = ..., surrogate_kind: str = ..., seed: int = ..., *, scales: Sequence[int]) -> List[Result]: ...
    @overload
    def compute_many(self, series: Union[npt.ArrayLike, Sequence[_Series]], method: _Counts = ...,
                     epochs: _Counts = ..., threads: Optional[int] = ..., progress: bool = ...,
                     rescale: str = ..., values: Literal[False] = ...,
                     surrogates: int = ..., surrogate_kind: str = ..., seed: int = ..., scales: Optional[_Counts] = ...) -> List[Result]: ...
    @overload
    def compute_many(self, series: Union[npt.ArrayLike, Sequence[_Series]], method: _Counts = ...,
                     epochs: _Counts = ..., threads: Optional[int] = ..., progress: bool = ...,
                     rescale: str = ..., *, values: Literal[True],
                     scales: Optional[_Counts] = ...) -> npt.NDArray[np.float64]: ...
    def curve(self, x: _Series, method: int = ..., epochs: int = ...,
              rescale: str = ...) -> npt.NDArray[np.float64]: ...
    def sliding(self, x: _Series, window: int, step: Optional[int] = ..., method: int = ..., epochs: int = ...,
                rescale: str = ..., threads: Optional[int] = ...,
                progress: bool = ...) -> Tuple[npt.NDArray[np.int64], npt.NDArray[np.float64]]: ...

def value(x: _Series, method: int = ..., epochs: int = ..., rescale: str = ...) -> float: ...
@overload
def compute(x: _Series, method: int = ..., epochs: int = ..., rescale: str = ...,
            surrogates: int = ..., surrogate_kind: str = ..., seed: int = ..., scales: Optional[int] = ...) -> Result: ...
@overload
def compute(x: _Series, method: int = ..., epochs: int = ..., rescale: str = ...,
            surrogates: int = ..., surrogate_kind: str = ..., seed: int = ..., *, scales: Sequence[int]) -> List[Result]: ...
@overload
def compute_many(series: Union[npt.ArrayLike, Sequence[_Series]], method: _Counts = ..., epochs: _Counts = ...,
                 threads: Optional[int] = ..., progress: bool = ..., rescale: str = ...,
                 values: Literal[False] = ..., surrogates: int = ..., surrogate_kind: str = ..., seed: int = ...,
                 scales: Optional[_Counts] = ...) -> List[Result]: ...
@overload
def compute_many(series: Union[npt.ArrayLike, Sequence[_Series]], method: _Counts = ..., epochs: _Counts = ...,
                 threads: Optional[int] = ..., progress: bool = ..., rescale: str = ...,
                 *, values: Literal[True], scales: Optional[_Counts] = ...) -> npt.NDArray[np.float64]: ...
def curve(x: _Series, method: int = ..., epochs: int = ..., rescale: str = ...) -> npt.NDArray[np.float64]: ...
def sliding(x: _Series, window: int, step: Optional[int] = ..., method: int = ..., epochs: int = ...,
            rescale: str = ..., threads: Optional[int] = ...,
            progress: bool = ...) -> Tuple[npt.NDArray[np.int64], npt.NDArray[np.float64]]: ...
def read_columns(path: _Path) -> Columns: ...
def surrogate(x: _Series, kind: str = ..., seed: int = ..., index: int = ...) -> npt.NDArray[np.float64]: ...
def coarse_grained(x: _Series, scale: int) -> npt.NDArray[np.float64]: ...
